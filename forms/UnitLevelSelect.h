#pragma once

#include <QDialog>

class QLineEdit;
class QListWidget;
class QPushButton;
class StageSession;

// The modal dialog in which the user picks the stage to edit, from the list of all
// stages or by typing its number.
class TFormLevelSelect : public QDialog
{
    Q_OBJECT

public:
    explicit TFormLevelSelect(StageSession &session);

    // Runs the dialog modally; the chosen level 0..229, or -1 when none was chosen.
    int Execute();

    void FormShow();
    void ListBoxLevelsClick();
    void ListBoxLevelsDblClick();
    void ButtonOKClick();
    void ButtonCancelClick();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void fillLevelList();

    StageSession &m_session;
    int m_result = -1;
    QListWidget *ListBoxLevels = nullptr;
    QLineEdit *EditLevelNo = nullptr;
    QPushButton *ButtonOK = nullptr;
    QPushButton *ButtonCancel = nullptr;
};

extern TFormLevelSelect *FormLevelSelect;
