#include "platform/qt/qt_help_window.h"

#include <QCoreApplication>
#include <QFile>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QShortcut>
#include <QTextStream>
#include <QVBoxLayout>

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

const QString kContents = QStringLiteral("contents.html");
const QString kUsingHelp = QStringLiteral("using-help.html");
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

QString HelpPageForContext(unsigned long context) {
    switch (context) {
        case 3200:
            return QStringLiteral("doubles.html");
        case 3300:
            return QStringLiteral("input.html");
        case 3400:
            return QStringLiteral("target.html");
        case 3500:
            return QStringLiteral("overview.html");
        default:
            return kContents;
    }
}

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

    auto* side = new QVBoxLayout;
    auto* label = new QLabel(QStringLiteral("&Index"), this);
    label->setBuddy(search_);
    side->addWidget(label);
    side->addWidget(search_);
    side->addWidget(index_, 1);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(side, 1);
    layout->addWidget(browser_, 3);

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
    // Escape and the desktop's Close key (Ctrl+W) close the window, as in other help viewers.
    for (const QKeySequence& key :
         QKeySequence::keyBindings(QKeySequence::Close) +
             QList<QKeySequence>{QKeySequence(Qt::Key_Escape),
                                 QKeySequence(QStringLiteral("Ctrl+W"))}) {
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
    QTextStream in(&file);
    while (!in.atEnd()) {
        const QString line = in.readLine();
        const qsizetype tab = line.indexOf(QLatin1Char('\t'));
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')) || tab < 0) {
            continue;
        }
        auto* item = new QListWidgetItem(line.left(tab), index_);
        item->setData(kTargetRole, line.mid(tab + 1).trimmed());
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
            ShowPage(HelpPageForContext(request.context));
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
