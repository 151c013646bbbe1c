#pragma once

#include <QString>

class QWidget;

// Text from the network (a server's name, map or gametype, a player's name) is shown
// as it came. Qt renders a label or a tooltip whose text looks like HTML as rich text,
// and rich text loads the images it names, local files and pipes included.
namespace PlainText {

// Makes every label of the window, and of the widgets it holds, show its text as
// plain text.
void labelsOf(QWidget& window);

// A tooltip that shows the text as it is, whatever it looks like.
QString toolTip(const QString& text);

}  // namespace PlainText
