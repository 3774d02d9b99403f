// Language files: the string table, the language name and a few lookups.
#include "FuzzCheck.h"
#include "NullPlatform.h"
#include "TempInputFile.h"

#include "lang/LangTable.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static TempInputFile input(QStringLiteral(".sel"));
    const QString path = input.write(data, size);

    NullPlatform platform;
    LangTable table(platform);
    const bool loaded = table.LoadLanguageFile(path);
    FUZZ_CHECK(table.IsLoaded());   // even a failed load leaves a table

    QString name;
    const bool named = LangTable::GetLanguageName(path, name);
    if (loaded && named) {
        // The dialog lists a file by the name entry the table holds (keys are unique
        // ignoring case, so no other spelling can stand in for it).
        QString value;
        FUZZ_CHECK(table.Lookup(QStringLiteral("MAIN.LANGNAME"), value));
        FUZZ_CHECK(value == name);
    }

    // Lookups never fail outright: a missing key gives "?" after its message.
    for (const QString &key :
         {QStringLiteral("bvlMain.sShortHelp_V"), QStringLiteral("bvlmain.mnfquit"), QString(),
          QString::fromLatin1(reinterpret_cast<const char *>(data), qsizetype(qMin<size_t>(size, 16)))}) {
        QString value;
        const bool found = table.Lookup(key, value);
        FUZZ_CHECK(table.GetLangString(key) == (found ? value : QStringLiteral("?")));
    }
    return 0;
}
