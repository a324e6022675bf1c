#!/usr/bin/env bash
# Static analysis of Ardovin's own sources (not Qt's headers, not generated code): clang-tidy
# with the repository's .clang-tidy, and cppcheck, both with the compile commands of a build;
# then clang-format, which must find every C++ file as it would write it.
# Any finding fails. Usage: static_checks.sh [build folder, default build/test]
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

build=${1:-$ARDOVIN_ROOT/build/test}
folders=(core settings storage platform resources ui app tools)
work=$ARDOVIN_ROOT/build/static
[ -f "$build/compile_commands.json" ] || {
    echo "No $build/compile_commands.json: configure and build that folder first" >&2
    exit 1
}
mkdir -p "$work/cppcheck"

# The build's compile commands for our own sources only: tests and moc output stay out.
python3 - "$build/compile_commands.json" "$work/compile_commands.json" "$ARDOVIN_ROOT" \
    "${folders[@]}" <<'PY'
import json, os, sys
source, target, root, *folders = sys.argv[1:]
ours = tuple(os.path.join(root, folder) + os.sep for folder in folders)
with open(source) as file:
    commands = [entry for entry in json.load(file) if entry["file"].startswith(ours)]
with open(target, "w") as file:
    json.dump(commands, file, indent=1)
PY
mapfile -t sources < <(cd "$ARDOVIN_ROOT" && find "${folders[@]}" -name '*.cpp' | sort)
compiled=$(grep -c '"file":' "$work/compile_commands.json")
[ "$compiled" -eq "${#sources[@]}" ] || {
    echo "${#sources[@]} sources but $compiled in the compile commands: is $build up to date?" >&2
    exit 1
}

echo "clang-tidy: ${#sources[@]} files"
# Each file's findings come out whole; "N warnings generated" counts Qt's, which are not shown.
cd "$ARDOVIN_ROOT"
if ! printf '%s\n' "${sources[@]}" |
    xargs -P 2 -n 1 clang-tidy -p "$work" --quiet 2> >(grep -v 'warnings\? generated\.$' >&2); then
    echo "clang-tidy found problems (see above)" >&2
    exit 1
fi

echo "cppcheck: ${#sources[@]} files"
# useStlAlgorithm is a suggestion of style; the loops it names stop early with side effects.
cppcheck --project="$work/compile_commands.json" --quiet -j 2 \
    --enable=warning,style,performance,portability --library=qt --std=c++20 --inline-suppr \
    --suppress=missingIncludeSystem --suppress=useStlAlgorithm \
    --cppcheck-build-dir="$work/cppcheck" --error-exitcode=1 ||
    { echo "cppcheck found problems (see above)" >&2; exit 1; }
echo "clang-format: every C++ file of the repository"
git -C "$ARDOVIN_ROOT" ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror ||
    { echo "clang-format would change the files above" >&2; exit 1; }
echo "Static checks: no findings"
