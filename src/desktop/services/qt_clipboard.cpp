#include "desktop/services/qt_clipboard.h"

#include <QClipboard>
#include <QGuiApplication>

#include "core/util/display_text.h"

namespace rirerazo::desktop {

std::string QtClipboard::GetText() {
  return QGuiApplication::clipboard()->text(QClipboard::Clipboard).toStdString();
}

// Line ends are kept as they are: a text read back must equal the text put there.
void QtClipboard::SetText(const std::string& text) {
  QGuiApplication::clipboard()->setText(QString::fromStdString(DisplayTextUtf8(text)),
                                        QClipboard::Clipboard);
}

}  // namespace rirerazo::desktop
