// SEEM file names: the automatic choice parses whatever name the user's file has.
#include "FuzzCheck.h"

#include "core/Conversions.h"
#include "seem/files/SeemFileName.h"

#include <QString>

#include <cstddef>
#include <cstdint>

namespace {

void parse(const QString &name)
{
    SeemNameNumbers numbers;
    if (!ParseSeemFileName(name, numbers))
        return;
    // Hexadecimal text has no sign, so a parsed number is never negative.
    FUZZ_CHECK(numbers.seemNr >= 0);
    FUZZ_CHECK(numbers.seemRec >= 0);
    // The canonical name of the same numbers parses to them again.
    const QString canonical = HexText16(numbers.seemNr) + QLatin1Char('_')
                              + HexText16(numbers.seemRec).rightJustified(4, QLatin1Char('0'))
                              + QStringLiteral(".seem");
    SeemNameNumbers again;
    FUZZ_CHECK(ParseSeemFileName(canonical, again));
    FUZZ_CHECK(again.seemNr == numbers.seemNr && again.seemRec == numbers.seemRec);
}

}   // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const char *text = reinterpret_cast<const char *>(data);
    // A name comes from the file system as UTF-8; Latin-1 reaches every byte value as a character.
    parse(QString::fromUtf8(text, qsizetype(size)));
    parse(QString::fromLatin1(text, qsizetype(size)));
    return 0;
}
