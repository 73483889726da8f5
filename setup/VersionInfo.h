#pragma once
#include <QString>

#include <optional>

// The program's version texts, made from its four-part version number
// (major.minor.release.build, set by the build): long v.M.m.r.b, medium
// v.M.m.r, short v.M.m.
struct VersionTexts
{
    QString longText;
    QString mediumText;
    QString shortText;
};

// Answers nothing when the text is not a four-part version number.
std::optional<VersionTexts> ReadFileVersion(const QString &version);

// The version this program was built as.
QString ProgramVersion();
// The one form of it that the caption, the About box and --version show
// (the medium text); empty when the built version is not readable.
QString ShownVersion();
