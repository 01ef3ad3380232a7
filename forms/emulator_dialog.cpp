#include "forms/emulator_dialog.h"

#include "core/ini_file.h"
#include "files/file_names.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

EmulatorDialog::EmulatorDialog(const tamo::EmulatorSettings &settings, std::vector<tamo::EmulatorPreset> presets,
                               QWidget *parent)
    : QDialog(parent)
    , m_presets(std::move(presets))
{
    setObjectName(QStringLiteral("EmulatorDialog"));
    setWindowTitle(QStringLiteral("Emulator"));

    ComboBoxPresets = new QComboBox(this);
    ComboBoxPresets->setObjectName(QStringLiteral("ComboBoxPresets"));
    ComboBoxPresets->addItem(m_presets.empty() ? QStringLiteral("No emulator found on this system")
                                               : QStringLiteral("Choose an emulator found on this system"));
    for (const tamo::EmulatorPreset &preset : m_presets)
        ComboBoxPresets->addItem(tamo::textFromBytes(preset.name));
    ComboBoxPresets->setEnabled(!m_presets.empty());
    connect(ComboBoxPresets, &QComboBox::activated, this, &EmulatorDialog::usePreset);

    EditCommand = new QLineEdit(tamo::textFromBytes(settings.Command), this);
    EditCommand->setObjectName(QStringLiteral("EditCommand"));
    EditCommand->setMinimumWidth(420);
    auto *placeholders = new QLabel(
        QStringLiteral("%f: the copy of the ROM (one argument), %l: the stage shown, %%: a percent sign"), this);

    EditBootPatch = new QLineEdit(tamo::textFromBytes(settings.BootPatch), this);
    EditBootPatch->setObjectName(QStringLiteral("EditBootPatch"));
    EditBootPatch->setPlaceholderText(QStringLiteral("none"));
    auto *browse = new QPushButton(QStringLiteral("Browse..."), this);
    browse->setObjectName(QStringLiteral("ButtonBootPatch"));
    browse->setAutoDefault(false);
    connect(browse, &QPushButton::clicked, this, &EmulatorDialog::chooseBootPatch);
    auto *patchRow = new QHBoxLayout;
    patchRow->addWidget(EditBootPatch, 1);
    patchRow->addWidget(browse);

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("Preset:"), ComboBoxPresets);
    form->addRow(QStringLiteral("Command line:"), EditCommand);
    form->addRow(QString(), placeholders);
    form->addRow(QStringLiteral("Boot patch (BPS or IPS, applied to the copy only):"), patchRow);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

tamo::EmulatorSettings EmulatorDialog::settings() const
{
    return {tamo::bytesFromText(EditCommand->text().trimmed()).toStdString(),
            tamo::bytesFromText(EditBootPatch->text().trimmed()).toStdString()};
}

void EmulatorDialog::usePreset(int index)
{
    if (index >= 1 && size_t(index) <= m_presets.size())
        EditCommand->setText(tamo::textFromBytes(m_presets[size_t(index) - 1].command));
}

void EmulatorDialog::chooseBootPatch()
{
    const QString file = QFileDialog::getOpenFileName(this, QStringLiteral("Boot Patch"), EditBootPatch->text(),
                                                      QStringLiteral("Patches (*.bps *.ips);;All files (*)"), nullptr,
                                                      QFileDialog::DontUseNativeDialog);
    if (!file.isEmpty())
        EditBootPatch->setText(file);
}

bool ChooseEmulator(tamo::IniFile &ini, QWidget *parent)
{
    const tamo::EmulatorPlaces places
        = tamo::SystemEmulatorPlaces(qgetenv("PATH").toStdString());
    EmulatorDialog dialog(tamo::ReadEmulatorSettings(ini), tamo::FindEmulatorPresets(places), parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    tamo::WriteEmulatorSettings(ini, dialog.settings());
    return true;
}
