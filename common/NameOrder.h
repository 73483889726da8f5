#pragma once
// The order of names in every list of the program: as the people who use
// them read them, in the Latin alphabet of Croatian, Serbian and Bosnian (Č
// after C, Ć after Č, Đ after D, Š after S, Ž after Z), capitals aside.
#include <QString>

// Less than zero when `a` comes first, zero for the same name.
int CompareNames(const QString &a, const QString &b);
inline bool NameBefore(const QString &a, const QString &b) { return CompareNames(a, b) < 0; }
