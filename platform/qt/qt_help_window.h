#pragma once

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTextBrowser>
#include <QWidget>
#include <vector>

#include "platform/modal.h"

namespace tallyfold::platform::qt {

/// The help engine: a window over the HTML pages compiled into the program, with a keyword
/// index and its search field, a search of the words of every page, and back and forward. It
/// answers the help commands by number, as the program asks them.
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
    /// The search over the words of every page, and the pages it found.
    QLineEdit& FindField() { return *find_; }
    QListWidget& Found() { return *found_; }
    QPushButton& BackButton() { return *back_; }
    QPushButton& ForwardButton() { return *forward_; }

  private:
    void ShowPage(const QString& page);
    void FilterIndex(const QString& text);
    void OpenIndexEntry(QListWidgetItem* item);
    void LoadKeywords();
    void LoadPages();
    void FindInPages(const QString& text);
    void OpenFound(QListWidgetItem* item);

    // A page as the search over every page reads it.
    struct Page {
        QString name;
        QString title;
        QString text;
    };

    QLineEdit* search_;
    QListWidget* index_;
    QLineEdit* find_;
    QListWidget* found_;
    QPushButton* back_;
    QPushButton* forward_;
    std::vector<Page> pages_;
    QTextBrowser* browser_;
    QString current_;
};

/// Makes the compiled-in help pages available under ":/help".
void EnsureHelpPages();

}  // namespace tallyfold::platform::qt
