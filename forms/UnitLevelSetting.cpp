#include "forms/UnitLevelSetting.h"

TFormLevelSetting *FormLevelSetting = nullptr;

TFormLevelSetting::TFormLevelSetting(QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Level Settings"));
}

void TFormLevelSetting::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    FormShow();
}

void TFormLevelSetting::FormShow()
{
    setResult(0);
}

void TFormLevelSetting::ButtonOKClick()
{
    accept();
}

void TFormLevelSetting::ButtonCancelClick()
{
    reject();
}
