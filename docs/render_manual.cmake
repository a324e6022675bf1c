# cmake -DCMARK_GFM=<cmark-gfm> -DIN=<manual.md> -DOUT=<manual.html> -P render_manual.cmake
# One HTML page: the Markdown rendered with GitHub's tables, in a page that reads well on its own.
execute_process(COMMAND ${CMARK_GFM} --extension table ${IN}
                OUTPUT_VARIABLE body RESULT_VARIABLE failed)
if(failed)
    message(FATAL_ERROR "cmark-gfm could not render ${IN}")
endif()
file(WRITE ${OUT} "<!DOCTYPE html>
<html lang=\"en\">
<head>
<meta charset=\"utf-8\">
<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">
<title>Ardovin manual</title>
<style>
body { max-width: 50em; margin: 2em auto; padding: 0 1em; font-family: sans-serif;
       line-height: 1.5; color: #222; background: #fff; }
h1, h2, h3 { color: #5a0e24; }
table { border-collapse: collapse; margin: 1em 0; }
th, td { border: 1px solid #bbb; padding: 0.3em 0.6em; vertical-align: top; text-align: left; }
th { background: #eee; }
code { background: #f3f3f3; padding: 0 0.2em; }
img { max-width: 100%; }
</style>
</head>
<body>
${body}</body>
</html>
")
