// The cellar book's CSV reader, for any bytes: a file from a spreadsheet can hold anything. What
// it reads whole is written again in both layouts and, in each, reads back the same; what it
// refuses it names with its line, and nothing is read.
#include "storage/cellar_csv.h"
#include "tests/fuzz/fuzz_support.h"

using namespace ardovin;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const CsvContents read =
        ReadCsv(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    if (!read.error.isEmpty()) {
        FUZZ_REQUIRE(read.batches.isEmpty());
        FUZZ_REQUIRE(read.error.startsWith(QStringLiteral("line ")) ||
                     read.error == QStringLiteral("the file is not UTF-8 text."));
        return 0;
    }
    for (const fuzz::Locale& locale : fuzz::Locales())
        for (const CsvLayout layout : {CsvLayout::Interchange, CsvLayout::Spreadsheet}) {
            const CsvContents again = ReadCsv(WriteCsv(read.batches, layout, locale.locale));
            FUZZ_REQUIRE(again.error.isEmpty() && again.batches == read.batches);
        }
    return 0;
}
