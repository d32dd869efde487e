#pragma once

#include <QAbstractScrollArea>
#include <QStringList>
#include <functional>
#include <string>
#include <vector>

#include "platform/line_selection.h"

namespace tallyfold::platform::qt {

/// A list box that draws only the lines on screen: its lines are either added one by one or
/// a count of lines whose texts the owner gives as they are drawn, so a list of a million lines
/// costs what the screen shows, in time and in memory.
///
/// It behaves as a desktop list does: a click selects a line, Ctrl+click adds or removes one,
/// Shift+click and Shift with the arrow keys select from the anchor, Ctrl+A all (with several
/// lines allowed); the arrow keys, Page Up and Down, Home and End move the current line, and a
/// double click activates it. Only what the user does is told (`SetOnSelectionChanged`,
/// `SetOnActivated`); changes made through the functions below are not.
class LineListView : public QAbstractScrollArea {
    Q_OBJECT

  public:
    using LineSource = std::function<std::string(int line)>;

    LineListView(QWidget* parent, bool severalLines);

    void Clear();
    void Append(const QString& text);
    /// `count` lines given by `source`, in place of every line held.
    void SetSource(int count, LineSource source);
    int Count() const;
    QString Text(int line) const;

    /// Makes `line` the only one selected and the current one, on view; -1 selects none.
    void SelectOnly(int line);
    /// The selected lines, ascending.
    std::vector<int> SelectedLines() const { return selection_.Lines(); }
    /// The lowest selected line, or -1.
    int FirstSelected() const { return selection_.First(); }
    int CurrentLine() const { return current_; }
    /// Where a line is drawn in the viewport, for the line's visible or not.
    QRect LineRect(int line) const;

    // What the user does, also for tests and benchmarks that act as one.
    /// A click on `line` with these modifiers.
    void Click(int line, Qt::KeyboardModifiers modifiers);
    /// Ctrl+A: every line, when several lines may be selected.
    void SelectAll();

    void SetOnSelectionChanged(std::function<void()> heard) {
        selectionChanged_ = std::move(heard);
    }
    void SetOnActivated(std::function<void()> heard) { activated_ = std::move(heard); }

    QSize sizeHint() const override;

    /// Whether `line` is selected; for the list's accessible lines.
    bool IsSelected(int line) const { return selection_.Contains(line); }
    /// The line drawn at height `y` of the viewport, or -1.
    int LineAt(int y) const;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

  private:
    int LineHeight() const;
    int LinesOnView() const;
    int TopLine() const;
    void UpdateScrollRange();
    void ShowLine(int line);
    /// Moves the current line as a key with these modifiers does.
    void MoveTo(int line, Qt::KeyboardModifiers modifiers);
    void Changed();
    /// Tells screen readers of the current line and the selection.
    void TellReaders();

    bool several_;
    QStringList lines_;
    LineSource source_;
    int sourceCount_ = 0;
    LineSelection selection_;
    int current_ = -1;
    int anchor_ = -1;
    std::function<void()> selectionChanged_;
    std::function<void()> activated_;
};

/// Makes the lines of every `LineListView` known to screen readers, each line as an item of
/// the list with its text and its selection; call once, after the application is made.
void InstallLineListAccessibility();

}  // namespace tallyfold::platform::qt
