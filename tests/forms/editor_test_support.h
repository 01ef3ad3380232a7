#pragma once

#include "core/ini_file.h"
#include "forms/UnitMain.h"
#include "forms/rom_file_session.h"
#include "tests/forms/program_folder.h"

#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QUndoStack>

#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <vector>

inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}

// What the tests of the editor windows share: controls found by their names, the user's
// clicks and typing as QTest events, and the ROM image's bytes before and after.
class EditorTest : public ProgramFolderTest
{
protected:
    // The state the windows work on.
    static StageSession &session() { return FormMain->Session; }

    template<typename Control>
    static Control *control(const QWidget *window, const char *name)
    {
        auto *found = window->findChild<Control *>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << "no control named " << name;
        return found;
    }

    static void showWindow(QWidget *window)
    {
        window->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window));
    }

    static void clickLine(QListWidget *list, int line)
    {
        QListWidgetItem *item = list->item(line);
        ASSERT_NE(item, nullptr) << "no line " << line;
        list->scrollToItem(item);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(item).center());
    }

    static QStringList lines(const QListWidget *list)
    {
        QStringList texts;
        for (int i = 0; i < list->count(); ++i)
            texts << list->item(i)->text();
        return texts;
    }

    static int selectedLine(const QListWidget *list)
    {
        const QList<QListWidgetItem *> selected = list->selectedItems();
        return selected.isEmpty() ? -1 : list->row(selected.first());
    }

    // Replaces the edit box's text as the user would: select all, then type.
    static void typeInto(QLineEdit *edit, const QString &text)
    {
        edit->setFocus();
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClicks(edit, text);
    }

    static void clickButton(const QWidget *window, const char *name)
    {
        QTest::mouseClick(control<QPushButton>(window, name), Qt::LeftButton);
    }

    static std::vector<uint8_t> romBytes() { return session().RomImage.bytes(); }

    static uint16_t romWord(int64_t at)
    {
        const std::vector<uint8_t> &bytes = session().RomImage.bytes();
        return static_cast<uint16_t>(bytes.at(size_t(at)) | bytes.at(size_t(at) + 1) << 8);
    }

    static uint8_t romByte(int64_t at) { return session().RomImage.bytes().at(size_t(at)); }

    // Changes the image as test set-up, as if the file had held these bytes: the windows
    // follow the change as they follow an edit of that scope (the whole image: the stage
    // is loaded again), and the history is left empty.
    static void patchWord(int64_t at, uint16_t value, EditScope scope = EditScope::WholeImage)
    {
        patch(tamo::RomPatch().writeWord(at, value, "test set-up"), scope);
    }
    static void patchByte(int64_t at, uint8_t value, EditScope scope = EditScope::WholeImage)
    {
        patch(tamo::RomPatch().writeByte(at, value, "test set-up"), scope);
    }
    static void patch(const tamo::RomPatch &patch, EditScope scope)
    {
        session().Document->edit(RomEdit{QStringLiteral("test set-up"), scope, session().LevelNumber, patch});
        session().Document->history()->clear();
    }

    // The offsets in the image where before and after differ.
    static std::vector<int64_t> changedOffsets(const std::vector<uint8_t> &before,
                                               const std::vector<uint8_t> &after)
    {
        std::vector<int64_t> changed;
        EXPECT_EQ(before.size(), after.size());
        for (size_t i = 0; i < before.size() && i < after.size(); ++i) {
            if (before[i] != after[i])
                changed.push_back(int64_t(i));
        }
        return changed;
    }

    // Edits one key of a data file of the program folder before the windows are made.
    void editDataIni(const std::string &relative, const char *section, const char *key,
                     const std::string &value)
    {
        tamo::IniFile ini = tamo::IniFile::load(dataFile(relative));
        ini.writeString(section, key, value);
        ini.save(dataFile(relative));
    }
};
