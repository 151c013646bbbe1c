#pragma once

class QWidget;

// The keys that close a tool window, as dialogs close: Escape, and Ctrl+W as the
// desktop closes a document window. The window is only hidden, as by its title bar.
namespace ClosingKeys {

void attach(QWidget& window);

}  // namespace ClosingKeys
