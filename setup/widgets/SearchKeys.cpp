#include "setup/widgets/SearchKeys.h"

#include "data/RecordSearch.h"

#include <QKeyEvent>
#include <QLineEdit>

bool StartSearchWithKey(QKeyEvent *key, QLineEdit *searchBox)
{
    const bool plain = !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
    const QString text = plain ? SearchTextForKey(key->text()) : QString();
    if (text.isEmpty())
        return false;
    searchBox->setFocus();
    searchBox->setText(text);
    searchBox->setCursorPosition(int(text.size()));
    return true;
}
