#pragma once

#include "core/name_lists.h"

#include <QDialog>

#include <array>
#include <optional>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class StageSession;

// The modal dialog that edits the settings of the stage that is loaded. exec() gives 1
// when OK wrote the settings into the ROM image, 0 otherwise.
class TFormLevelSetting : public QDialog
{
    Q_OBJECT

public:
    explicit TFormLevelSetting(StageSession &session);

    void FormShow();
    void ButtonOKClick();
    void ButtonCancelClick();

protected:
    void showEvent(QShowEvent *event) override;

private:
    struct NameListControl
    {
        tamo::NameListSections sections;
        QComboBox *comboBox = nullptr;
        tamo::NameList names;
    };

    void createControls();
    void LoadNameList(NameListControl &list);
    // Fills the controls from the stage's settings; false when they cannot be read.
    bool readSettingsIntoControls();
    std::array<QLineEdit *, 6> numberEdits() const;
    static std::optional<int32_t> selectedValue(const NameListControl &list);

    StageSession &m_session;
    std::array<NameListControl, 5> m_lists;
    bool m_settingsRead = false;
    QComboBox *ComboBoxFG = nullptr;
    QComboBox *ComboBoxBG = nullptr;
    QComboBox *ComboBoxMusic = nullptr;
    QComboBox *ComboBoxFunc = nullptr;
    QComboBox *ComboBoxStartAction = nullptr;
    QLineEdit *EditStartX = nullptr;
    QLineEdit *EditStartY = nullptr;
    std::array<QCheckBox *, 8> m_darknessChecks{};
    QLineEdit *EditBGColor = nullptr;
    QLineEdit *EditBGDarkness = nullptr;
    QLineEdit *EditTilemapStart = nullptr;
    QLineEdit *EditTilemapEnd = nullptr;
    QPushButton *ButtonOK = nullptr;
    QPushButton *ButtonCancel = nullptr;
};

extern TFormLevelSetting *FormLevelSetting;
