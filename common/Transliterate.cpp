#include "common/Transliterate.h"

QString Transliterate(const QString &text)
{
    QString result;
    result.reserve(text.size() + 4); // Đ/đ grow by one character
    for (const QChar c : text) {
        switch (c.unicode()) {
        case u'Č': case u'Ć': result += u'C'; break;
        case u'Đ': result += QLatin1String("DJ"); break;
        case u'Š': result += u'S'; break;
        case u'Ž': result += u'Z'; break;
        case u'č': case u'ć': result += u'c'; break;
        case u'đ': result += QLatin1String("dj"); break;
        case u'š': result += u's'; break;
        case u'ž': result += u'z'; break;
        default: result += c; break;
        }
    }
    return result;
}
