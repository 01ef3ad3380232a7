#pragma once

#include <QPoint>
#include <QRect>
#include <QString>

class QLabel;
class QLineEdit;
class QWidget;

// The controls the editors and the settings dialog lay out by their places.

// A label with its top-left corner at the point, as large as its text.
QLabel *AddLabel(QWidget *parent, const QString &text, QPoint at);
// An edit box named name.
QLineEdit *AddEdit(QWidget *parent, const char *name, const QRect &geometry);
