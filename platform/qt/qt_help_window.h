#pragma once

#include <QLineEdit>
#include <QListWidget>
#include <QTextBrowser>
#include <QWidget>

#include "platform/modal.h"

namespace tallyfold::platform::qt {

/// The help engine: a window over the HTML pages compiled into the program, with a keyword
/// index and a search field. It answers the help commands by number, as the program asks them.
class HelpWindow : public QWidget {
  public:
    HelpWindow();

    /// Shows the page, index or search that `request` asks for; Quit closes the window.
    void Serve(const HelpRequest& request);

    /// The page on view, as "page.html" or "page.html#anchor".
    QString CurrentPage() const;
    /// The text of the page on view.
    QString PageText() const { return browser_->toPlainText(); }
    QLineEdit& SearchField() { return *search_; }
    QListWidget& Index() { return *index_; }

  private:
    void ShowPage(const QString& page);
    void FilterIndex(const QString& text);
    void OpenIndexEntry(QListWidgetItem* item);
    void LoadKeywords();

    QLineEdit* search_;
    QListWidget* index_;
    QTextBrowser* browser_;
    QString current_;
};

/// Makes the compiled-in help pages available under ":/help".
void EnsureHelpPages();

/// The page of a help context number (a dialog's template number), or the contents page.
QString HelpPageForContext(unsigned long context);

}  // namespace tallyfold::platform::qt
