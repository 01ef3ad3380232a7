#include "forms/map_tool_switch.h"
#include "forms/stage_image.h"
#include "qtcommon/qt_canvas.h"
#include "qtcommon/zoomed_picture.h"

#include <QAction>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {

// A tool that writes down everything that reaches it.
class RecordingTool : public MapTool
{
public:
    RecordingTool(const char *name, Qt::Key key, std::vector<std::string> &log)
        : m_name(name)
        , m_key(key)
        , m_log(log)
    {
    }

    ActionDefinition action() const override
    {
        return {m_name, m_name, m_name, m_name, QKeyCombination(m_key), ImageListIcon::PaintTiles, true, true};
    }
    void press(const MapPointer &pointer) override { write("press", pointer); }
    void move(const MapPointer &pointer) override { write("move", pointer); }
    void release(const MapPointer &pointer) override { write("release", pointer); }
    bool takesKeys() const override { return m_takesKeys; }
    void key(Qt::Key key, Qt::KeyboardModifiers modifiers) override
    {
        m_log.push_back(std::string(m_name) + " key " + (key == Qt::Key_Left ? "left" : "other")
                        + (modifiers & Qt::ShiftModifier ? " shift" : ""));
    }
    void activate() override { m_log.push_back(std::string(m_name) + " activate"); }
    void deactivate() override { m_log.push_back(std::string(m_name) + " deactivate"); }
    bool canEdit(MapEdit edit) const override { return m_allowed.count(edit) > 0; }
    void edit(MapEdit edit) override { m_log.push_back(std::string(m_name) + " edit " + std::to_string(int(edit))); }

    void allow(MapEdit edit)
    {
        m_allowed.insert(edit);
        emit stateChanged();
    }
    void takeKeys()
    {
        m_takesKeys = true;
        emit stateChanged();
    }

private:
    void write(const char *what, const MapPointer &pointer)
    {
        m_log.push_back(std::string(m_name) + " " + what + " " + std::to_string(pointer.x) + ","
                        + std::to_string(pointer.y));
    }

    const char *m_name;
    Qt::Key m_key;
    std::vector<std::string> &m_log;
    std::set<MapEdit> m_allowed;
    bool m_takesKeys = false;
};

// Two tools over a map view of 320 x 320 stage pixels in a window of its own.
class MapToolSwitchTest : public testing::Test
{
protected:
    MapToolSwitchTest()
    {
        canvas.resize(320, 320);
        canvas.clear();
        view = new StageImage(canvas, zoomed);
        view->setParent(&window);
        view->setMouseTracking(true);
        view->followCanvasSize();
        tools = new MapToolSwitch(*view, window);
        paintAction = tools->add(paint = new RecordingTool("paint", Qt::Key_B, log));
        moveAction = tools->add(mover = new RecordingTool("move", Qt::Key_S, log));
        window.resize(400, 400);
        window.show();
        window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
        log.clear();
    }

    std::vector<std::string> log;
    tamo::QtCanvas canvas;
    tamo::ZoomedPicture zoomed{canvas};
    QWidget window;
    StageImage *view = nullptr;
    MapToolSwitch *tools = nullptr;
    RecordingTool *paint = nullptr;
    RecordingTool *mover = nullptr;
    QAction *paintAction = nullptr;
    QAction *moveAction = nullptr;
};

TEST_F(MapToolSwitchTest, MouseEventsReachOnlyTheToolInUse)
{
    EXPECT_EQ(tools->actions(), (QList<QAction *>{paintAction, moveAction}));
    EXPECT_TRUE(paintAction->isChecked()) << "the first tool added is in use";
    QTest::mousePress(view, Qt::LeftButton, {}, QPoint(40, 70));
    QTest::mouseRelease(view, Qt::LeftButton, {}, QPoint(41, 70));
    moveAction->trigger();
    EXPECT_FALSE(paintAction->isChecked());
    QTest::mouseMove(view, QPoint(90, 10));
    EXPECT_EQ(log, (std::vector<std::string>{"paint press 40,70", "paint release 41,70", "paint deactivate",
                                             "move activate", "move move 90,10"}));
}

TEST_F(MapToolSwitchTest, EditActionsAskAndReachTheToolInUse)
{
    QAction cut;
    tools->attach(&cut, MapEdit::Cut);
    EXPECT_FALSE(cut.isEnabled());
    mover->allow(MapEdit::Cut);
    EXPECT_FALSE(cut.isEnabled()) << "the tool not in use decides nothing";
    paint->allow(MapEdit::Cut);
    EXPECT_TRUE(cut.isEnabled());
    cut.trigger();
    moveAction->trigger();
    EXPECT_TRUE(cut.isEnabled());
    cut.trigger();
    EXPECT_EQ(log, (std::vector<std::string>{"paint edit 0", "paint deactivate", "move activate", "move edit 0"}));
}

TEST_F(MapToolSwitchTest, ArrowKeysGoToTheToolOnlyWhileItTakesThem)
{
    moveAction->trigger();
    log.clear();
    QTest::keyClick(&window, Qt::Key_Left);
    EXPECT_TRUE(log.empty());
    mover->takeKeys();
    QTest::keyClick(&window, Qt::Key_Left);
    QTest::keyClick(&window, Qt::Key_Left, Qt::ShiftModifier);
    paintAction->trigger();
    QTest::keyClick(&window, Qt::Key_Left);
    EXPECT_EQ(log, (std::vector<std::string>{"move key left", "move key left shift", "move deactivate",
                                             "paint activate"}));
}

} // namespace
