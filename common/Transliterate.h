#pragma once
#include <QString>

// Replaces the Serbian Latin letters Č Ć Đ Š Ž (and lower case) by plain
// letters (Đ becomes "DJ", đ "dj"), for file names, feeds and displays that
// only take ASCII. Every other character is left as it is.
QString Transliterate(const QString &text);
