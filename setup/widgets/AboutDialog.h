#pragma once
#include <QDialog>

class QLabel;

// The About box.
class TAboutFrm final : public QDialog
{
    Q_OBJECT

public:
    explicit TAboutFrm(QWidget *parent = nullptr);
    QLabel *Version = nullptr; // the long version text, set each time the box is shown

protected:
    void showEvent(QShowEvent *event) override;
};
