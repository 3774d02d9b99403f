#pragma once
#include <QByteArray>
#include <QString>

// Writes a file of exactly these bytes (language files are 8-bit text, so tests spell
// out line ends and code-page bytes) into folder; returns its full path.
QString WriteLangFile(const QString &folder, const QString &fileName, const QByteArray &bytes);

// A small valid language file named languageName, CR LF line ends, with extra lines appended.
QByteArray LangFileBytes(const QByteArray &languageName, const QByteArray &extraLines = QByteArray());
