#pragma once

#include "session/chip_replace_step.h"

#include <QDialog>

#include <optional>

class QCheckBox;
class QDialogButtonBox;
class QLineEdit;
class QRadioButton;
class StageSession;

// What Replace Chip is asked to do.
struct ChipReplaceRequest
{
    tamo::ChipReplacement replacement;
    ChipReplaceArea area = ChipReplaceArea::StageTileMap;
};

// The dialog of Replace Chip: the chip to find (the pen's at first) and the chip that
// replaces it, in hexadecimal; whether each cell keeps its flips or gets the ones given;
// and the tile map of the stage shown, named with the stages that share it, or every tile
// map of the ROM. OK stays off until both numbers read as chips.
class ReplaceChipDialog : public QDialog
{
    Q_OBJECT

public:
    ReplaceChipDialog(const StageSession &session, QWidget *parent);

    // What the entries say; none while a number does not read as a chip.
    std::optional<ChipReplaceRequest> request() const;

private:
    void followEntries();

    QLineEdit *m_find = nullptr;
    QLineEdit *m_replaceBy = nullptr;
    QRadioButton *m_keepFlips = nullptr;
    QRadioButton *m_setFlips = nullptr;
    QCheckBox *m_hFlip = nullptr;
    QCheckBox *m_vFlip = nullptr;
    QRadioButton *m_stageTileMap = nullptr;
    QRadioButton *m_everyTileMap = nullptr;
    QDialogButtonBox *m_buttons = nullptr;
};

// Asks for a replacement and makes it as one step; says so when no cell changed.
void AskAndReplaceChip(StageSession &session, QWidget *parent);
