#include "common/NameOrder.h"

#include <QCollator>

int CompareNames(const QString &a, const QString &b)
{
    static const QCollator collator = [] {
        QCollator c(QLocale(QLocale::Croatian, QLocale::Croatia));
        c.setCaseSensitivity(Qt::CaseInsensitive);
        return c;
    }();
    return collator.compare(a, b);
}
