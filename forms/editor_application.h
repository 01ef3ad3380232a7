#pragma once

#include <QApplication>

// The editor's application object: title "TamoEditor", the Japanese interface font, and
// the top-level error report. An exception that escapes any event handler is shown in a
// message box with its text, and the program goes on.
class EditorApplication : public QApplication
{
public:
    EditorApplication(int &argc, char **argv);

    bool notify(QObject *receiver, QEvent *event) override;
};
