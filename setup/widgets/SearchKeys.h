#pragma once

class QKeyEvent;
class QLineEdit;

// Typing a letter or digit in a list starts a search with it: the key goes
// to the search box, which takes the focus. Answers whether the key did.
bool StartSearchWithKey(QKeyEvent *key, QLineEdit *searchBox);
