#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <QTextLayout>
#include <QWidget>
#include <optional>
#include <span>
#include <vector>

#include "platform/marked_text.h"

namespace tallyfold::platform::qt {

/// A colour of the marks and pictures as Qt names it, and back.
QColor ToQColor(MarkColour colour);
MarkColour ToMarkColour(const QColor& colour);

/// A line of marked text, laid out whole (so that letters joined in their script stay joined
/// across marks) and drawn centred, each mark in its colour and with its line; smaller where the
/// text would not fit.
class MarkedTextView : public QWidget {
    Q_OBJECT

  public:
    explicit MarkedTextView(QWidget* parent);

    void SetRuns(std::span<const MarkedRun> runs);
    const QString& Text() const { return text_; }
    /// The font the text is drawn in where it fits; unset: the widget's own.
    void SetChosenFont(std::optional<QFont> font);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QFont FittingFont() const;

    QString text_;
    std::vector<QTextLayout::FormatRange> ranges_;
    std::vector<TextMark> marks_;
    std::optional<QFont> chosen_;
};

}  // namespace tallyfold::platform::qt
