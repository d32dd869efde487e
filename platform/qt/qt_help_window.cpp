#include "platform/qt/qt_help_window.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QTextDocument>
#include <QVBoxLayout>
#include <algorithm>

#include "platform/help_index.h"

// Pages compiled into a static library are registered by hand: nothing else refers to them.
static void RegisterHelpPages() {
    Q_INIT_RESOURCE(help);
}

namespace tallyfold::platform::qt {

void EnsureHelpPages() {
    static const bool registered = (RegisterHelpPages(), true);
    static_cast<void>(registered);
}

namespace {

const QString kContents =
    QString::fromLatin1(kHelpContentsPage.data(), static_cast<qsizetype>(kHelpContentsPage.size()));
const QString kUsingHelp =
    QString::fromLatin1(kHelpOnHelpPage.data(), static_cast<qsizetype>(kHelpOnHelpPage.size()));
constexpr int kTargetRole = Qt::UserRole;

// The pages as compiled in, with the program's version where a page names it.
class HelpBrowser : public QTextBrowser {
  public:
    explicit HelpBrowser(QWidget* parent) : QTextBrowser(parent) {}

    QVariant loadResource(int type, const QUrl& name) override {
        QVariant resource = QTextBrowser::loadResource(type, name);
        if (type == QTextDocument::HtmlResource) {
            QString text = resource.typeId() == QMetaType::QByteArray
                               ? QString::fromUtf8(resource.toByteArray())
                               : resource.toString();
            return text.replace(QStringLiteral("@VERSION@"),
                                QCoreApplication::applicationVersion());
        }
        return resource;
    }
};

}  // namespace

HelpWindow::HelpWindow() {
    EnsureHelpPages();
    setWindowTitle(QStringLiteral("Tallyfold Help"));
    resize(760, 520);
    search_ = new QLineEdit(this);
    search_->setPlaceholderText(QStringLiteral("Type a keyword"));
    index_ = new QListWidget(this);
    browser_ = new HelpBrowser(this);
    browser_->setSearchPaths({QStringLiteral(":/help")});
    browser_->setOpenExternalLinks(true);

    find_ = new QLineEdit(this);
    find_->setPlaceholderText(QStringLiteral("Words on any page"));
    found_ = new QListWidget(this);
    back_ = new QPushButton(QStringLiteral("&Back"), this);
    forward_ = new QPushButton(QStringLiteral("&Forward"), this);
    back_->setEnabled(false);
    forward_->setEnabled(false);

    auto* side = new QVBoxLayout;
    auto* label = new QLabel(QStringLiteral("&Index"), this);
    label->setBuddy(search_);
    side->addWidget(label);
    side->addWidget(search_);
    side->addWidget(index_, 2);
    auto* findLabel = new QLabel(QStringLiteral("Search &all pages"), this);
    findLabel->setBuddy(find_);
    side->addWidget(findLabel);
    side->addWidget(find_);
    side->addWidget(found_, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(back_);
    buttons->addWidget(forward_);
    buttons->addStretch(1);
    auto* page = new QVBoxLayout;
    page->addLayout(buttons);
    page->addWidget(browser_, 1);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(side, 1);
    layout->addLayout(page, 3);

    // Back and forward through the pages seen, by the buttons and the desktop's keys.
    connect(back_, &QPushButton::clicked, browser_, &QTextBrowser::backward);
    connect(forward_, &QPushButton::clicked, browser_, &QTextBrowser::forward);
    connect(browser_, &QTextBrowser::backwardAvailable, back_, &QPushButton::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, forward_, &QPushButton::setEnabled);
    for (const QKeySequence& key : QKeySequence::keyBindings(QKeySequence::Back)) {
        connect(new QShortcut(key, this), &QShortcut::activated, browser_, &QTextBrowser::backward);
    }
    for (const QKeySequence& key : QKeySequence::keyBindings(QKeySequence::Forward)) {
        connect(new QShortcut(key, this), &QShortcut::activated, browser_, &QTextBrowser::forward);
    }
    connect(find_, &QLineEdit::textChanged, this,
            [this](const QString& text) { FindInPages(text); });
    connect(find_, &QLineEdit::returnPressed, this, [this] {
        if (found_->count() > 0) {
            OpenFound(found_->item(0));
        }
    });
    connect(found_, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { OpenFound(item); });
    connect(found_, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { OpenFound(item); });

    LoadKeywords();
    connect(search_, &QLineEdit::textChanged, this,
            [this](const QString& text) { FilterIndex(text); });
    connect(search_, &QLineEdit::returnPressed, this, [this] {
        for (int i = 0; i < index_->count(); ++i) {
            if (!index_->item(i)->isHidden()) {
                OpenIndexEntry(index_->item(i));
                return;
            }
        }
    });
    connect(index_, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { OpenIndexEntry(item); });
    connect(index_, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { OpenIndexEntry(item); });
    connect(browser_, &QTextBrowser::sourceChanged, this,
            [this](const QUrl& url) { current_ = url.toString(); });
    // Escape and the desktop's Close keys close the window, and Ctrl+W where the desktop's
    // keys lack it, as in other help viewers. Each key once: a key that two shortcuts share is
    // ambiguous and does nothing.
    QList<QKeySequence> closing = QKeySequence::keyBindings(QKeySequence::Close);
    for (const QKeySequence& key :
         {QKeySequence(Qt::Key_Escape), QKeySequence(QStringLiteral("Ctrl+W"))}) {
        if (!closing.contains(key)) {
            closing << key;
        }
    }
    for (const QKeySequence& key : closing) {
        auto* shortcut = new QShortcut(key, this);
        connect(shortcut, &QShortcut::activated, this, &QWidget::close);
    }
    ShowPage(kContents);
}

void HelpWindow::LoadKeywords() {
    QFile file(QStringLiteral(":/help/keywords.txt"));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        return;
    }
    for (const HelpKeyword& entry : ParseHelpKeywords(file.readAll().toStdString())) {
        auto* item = new QListWidgetItem(QString::fromStdString(entry.keyword), index_);
        item->setData(kTargetRole, QString::fromStdString(entry.page));
    }
    index_->sortItems();
}

void HelpWindow::FilterIndex(const QString& text) {
    QListWidgetItem* first = nullptr;
    for (int i = 0; i < index_->count(); ++i) {
        QListWidgetItem* item = index_->item(i);
        const bool match = item->text().startsWith(text, Qt::CaseInsensitive);
        item->setHidden(!match);
        if (match && first == nullptr) {
            first = item;
        }
    }
    index_->setCurrentItem(first);
}

void HelpWindow::LoadPages() {
    if (!pages_.empty()) {
        return;
    }
    const QDir folder(QStringLiteral(":/help"));
    for (const QString& name :
         folder.entryList({QStringLiteral("*.html")}, QDir::Files, QDir::Name)) {
        QFile file(folder.filePath(name));
        if (!file.open(QIODevice::ReadOnly)) {
            continue;
        }
        QTextDocument document;
        document.setHtml(QString::fromUtf8(file.readAll()));
        const QString title = document.metaInformation(QTextDocument::DocumentTitle);
        pages_.push_back({name, title.isEmpty() ? name : title, document.toPlainText()});
    }
}

void HelpWindow::FindInPages(const QString& text) {
    found_->clear();
    const QStringList words = text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (words.isEmpty()) {
        return;
    }
    LoadPages();
    // A page is found when it holds every word typed, in any order.
    for (const Page& page : pages_) {
        const bool all = std::all_of(words.begin(), words.end(), [&page](const QString& word) {
            return page.text.contains(word, Qt::CaseInsensitive);
        });
        if (all) {
            auto* item = new QListWidgetItem(page.title, found_);
            item->setData(kTargetRole, page.name);
        }
    }
}

void HelpWindow::OpenFound(QListWidgetItem* item) {
    if (item == nullptr) {
        return;
    }
    ShowPage(item->data(kTargetRole).toString());
    const QStringList words = find_->text().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (!words.isEmpty()) {
        browser_->find(words.front());
    }
}

void HelpWindow::OpenIndexEntry(QListWidgetItem* item) {
    if (item != nullptr) {
        ShowPage(item->data(kTargetRole).toString());
    }
}

void HelpWindow::ShowPage(const QString& page) {
    browser_->setSource(QUrl(page));
    current_ = page;
}

QString HelpWindow::CurrentPage() const {
    return current_;
}

void HelpWindow::Serve(const HelpRequest& request) {
    switch (request.command) {
        case HelpCommand::Quit:
            close();
            return;
        case HelpCommand::Contents:
            ShowPage(kContents);
            break;
        case HelpCommand::HelpOnHelp:
            ShowPage(kUsingHelp);
            break;
        case HelpCommand::Context:
            ShowPage(request.page.empty() ? kContents : QString::fromStdString(request.page));
            break;
        case HelpCommand::Key: {
            const QString keyword = QString::fromLatin1(request.keyword.c_str());
            const QList<QListWidgetItem*> found = index_->findItems(keyword, Qt::MatchFixedString);
            search_->setText(keyword);
            if (!found.isEmpty()) {
                OpenIndexEntry(found.front());
            }
            break;
        }
        case HelpCommand::PartialKey:
            search_->setText(QString::fromLatin1(request.keyword.c_str()));
            search_->setFocus();
            break;
    }
    show();
    raise();
    activateWindow();
}

}  // namespace tallyfold::platform::qt
