#include "resources/dialog_templates.h"

#include "resources/resource_ids.h"

namespace tallyfold {

using platform::ControlKind;
using platform::ControlTemplate;
using platform::DialogTemplate;
using platform::kNoControlId;
namespace style = platform::style;
namespace anchor = platform::anchor;

namespace {

constexpr const char* kDialogFont = "MS Sans Serif";

ControlTemplate Label(std::string text, platform::Rect rect, unsigned extra = 0) {
    return {kNoControlId, ControlKind::Static, std::move(text), rect, extra};
}

ControlTemplate Button(int id, std::string text, platform::Rect rect, bool isDefault = false) {
    return {id, ControlKind::Button, std::move(text), rect,
            style::kTabStop | (isDefault ? style::kDefaultButton : 0u)};
}

// `control`, following a resizable dialog's size by `anchors`.
ControlTemplate Anchor(ControlTemplate control, unsigned anchors) {
    control.anchors = anchors;
    return control;
}

}  // namespace

const DialogTemplate& DoublesTemplate() {
    constexpr unsigned kFramedLabel = style::kCenter | style::kBorder | style::kSunken;
    static const DialogTemplate dialog{
        ids::kDoublesDialog,
        "Doubles",
        {0, 0, 240, 110},
        kDialogFont,
        8,
        true,
        {Label("The box contains this", {8, 4, 124, 8}),
         {ids::kDoublesQuestion, ControlKind::Static, "Question", {8, 24, 228, 12}, kFramedLabel},
         {ids::kDoublesAnswer, ControlKind::Static, "Answer", {8, 44, 228, 12}, kFramedLabel},
         Label("Take it anyway?", {8, 68, 84, 8}),
         Button(ids::kIdOk, "OK", {6, 88, 50, 14}),
         Button(ids::kIdCancel, "Cancel", {64, 88, 50, 14}),
         Button(ids::kDoublesChange, "&Change", {120, 88, 50, 14}),
         Button(ids::kDoublesHelp, "&Help", {184, 88, 50, 14})},
        ids::kDoublesHelp};
    return dialog;
}

const DialogTemplate& InputTemplate() {
    constexpr unsigned kEditStyle =
        style::kBorder | style::kTabStop | style::kNoAutoHorizontalScroll;
    static const DialogTemplate dialog{
        ids::kInputDialog,
        "Input",
        {4, 20, 288, 63},
        kDialogFont,
        8,
        false,
        {Label("Question", {4, 9, 32, 8}),
         Label("Answer", {4, 26, 36, 8}),
         {ids::kInputQuestion, ControlKind::Edit, "", {44, 6, 240, 12}, kEditStyle},
         {ids::kInputAnswer, ControlKind::Edit, "", {44, 24, 240, 12}, kEditStyle},
         {ids::kInputCount, ControlKind::Static, "", {44, 47, 98, 8}, 0},
         Button(ids::kIdOk, "&Save", {146, 44, 44, 14}, true),
         Button(ids::kIdCancel, "&Close", {196, 44, 44, 14}),
         Button(ids::kInputHelp, "&Help", {246, 44, 40, 14})},
        ids::kInputHelp};
    return dialog;
}

const DialogTemplate& TargetTemplate() {
    static const DialogTemplate dialog{
        ids::kTargetDialog,
        "Put into...",
        {18, 18, 142, 88},
        kDialogFont,
        8,
        false,
        {Label("Target", {12, 4, 56, 8}),
         {ids::kTargetList,
          ControlKind::ListBox,
          "",
          {12, 16, 60, 60},
          style::kBorder | style::kVerticalScroll | style::kTabStop | style::kNotify},
         Button(ids::kIdCancel, "Cancel", {88, 40, 44, 14}),
         Button(ids::kIdOk, "Ok", {88, 60, 44, 14}, true)}};
    return dialog;
}

const DialogTemplate& OverviewTemplate() {
    static const DialogTemplate dialog{
        ids::kOverviewDialog,
        "Partition overview",
        {18, 18, 243, 171},
        kDialogFont,
        8,
        false,
        {{ids::kOverviewCards,
          ControlKind::ListBox,
          "",
          {8, 8, 148, 155},
          style::kBorder | style::kVerticalScroll | style::kNotify | style::kExtendedSelection |
              style::kTabStop},
         Label("Partition", {164, 8, 32, 8}),
         {ids::kOverviewPartition,
          ControlKind::ComboBox,
          "",
          {164, 19, 61, 60},
          style::kDropDownList | style::kVerticalScroll | style::kTabStop},
         {ids::kOverviewCount, ControlKind::Static, "0", {164, 39, 24, 8}, style::kRight},
         Label("Cards", {192, 39, 36, 8}),
         Button(ids::kOverviewFind, "&Find cards...", {164, 50, 60, 14}),
         Button(ids::kOverviewHelp, "&Help", {164, 68, 60, 14}),
         Button(ids::kOverviewMove, "&To another", {164, 88, 60, 14}),
         Button(ids::kOverviewCorrect, "C&orrect", {164, 108, 60, 14}),
         Button(ids::kOverviewDelete, "&Delete", {164, 128, 60, 14}),
         Button(ids::kIdOk, "&Close", {164, 148, 60, 14}, true)},
        ids::kOverviewHelp};
    return dialog;
}

const DialogTemplate& CardsTemplate() {
    static const DialogTemplate dialog{
        ids::kCardsDialog,
        "Cards",
        {18, 18, 360, 220},
        kDialogFont,
        8,
        false,
        {Label("&Find", {6, 8, 24, 8}),
         {ids::kCardsSearch,
          ControlKind::Edit,
          "",
          {32, 6, 130, 12},
          style::kBorder | style::kTabStop | style::kNotify},
         {ids::kCardsStrict,
          ControlKind::CheckBox,
          "&Match case and accents",
          {170, 7, 100, 10},
          style::kTabStop},
         Label("&Partition", {276, 8, 34, 8}),
         {ids::kCardsPartition,
          ControlKind::ComboBox,
          "",
          {312, 6, 42, 120},
          style::kDropDownList | style::kVerticalScroll | style::kTabStop},
         {ids::kCardsTable,
          ControlKind::Table,
          "",
          {6, 24, 348, 156},
          style::kBorder | style::kExtendedSelection | style::kTabStop,
          anchor::kWidth | anchor::kHeight},
         {ids::kCardsCount, ControlKind::Static, "", {6, 185, 120, 8}, 0, anchor::kBottom},
         Anchor(Button(ids::kCardsEdit, "&Edit...", {6, 200, 50, 14}), anchor::kBottom),
         Anchor(Button(ids::kCardsPutInto, "P&ut into...", {62, 200, 50, 14}), anchor::kBottom),
         Anchor(Button(ids::kCardsDelete, "&Delete", {118, 200, 50, 14}), anchor::kBottom),
         Anchor(Button(ids::kCardsReset, "&Reset counters", {174, 200, 62, 14}), anchor::kBottom),
         Anchor(Button(ids::kCardsHelp, "&Help", {248, 200, 50, 14}),
                anchor::kRight | anchor::kBottom),
         Anchor(Button(ids::kIdCancel, "&Close", {304, 200, 50, 14}),
                anchor::kRight | anchor::kBottom)},
        ids::kCardsHelp,
        {{"Ctrl+F", ids::kCardsFind},
         {"Ctrl+Z", ids::kCardsUndo},
         {"Ctrl+Y", ids::kCardsRedo},
         {"Ctrl+A", ids::kCardsSelectAll},
         {"Del", ids::kCardsDelete, ids::kCardsTable}},
        true};
    return dialog;
}

const DialogTemplate& StatisticsTemplate() {
    static const DialogTemplate dialog{
        ids::kStatisticsDialog,
        "Statistics",
        {18, 18, 380, 292},
        kDialogFont,
        8,
        false,
        {Label("The box", {6, 4, 120, 8}),
         {ids::kStatsBox, ControlKind::Picture, "", {6, 14, 180, 92}, style::kBorder},
         {ids::kStatsTotals, ControlKind::Static, "", {6, 110, 368, 8}, 0},
         {ids::kStatsRight, ControlKind::Static, "", {6, 120, 368, 8}, 0},
         Label("The last 30 days", {194, 4, 120, 8}),
         {ids::kStatsDays, ControlKind::Picture, "", {194, 14, 180, 92}, style::kBorder},
         Label("The last year", {6, 134, 120, 8}),
         {ids::kStatsCalendar, ControlKind::Picture, "", {6, 144, 368, 54}, style::kBorder},
         {ids::kStatsStreak, ControlKind::Static, "", {6, 201, 368, 8}, 0},
         Label("The cards not known most often", {6, 214, 200, 8}),
         {ids::kStatsHardest,
          ControlKind::Table,
          "",
          {6, 224, 300, 62},
          style::kBorder | style::kTabStop},
         Button(ids::kStatsAskNext, "&Ask these next", {312, 224, 62, 14}),
         Button(ids::kStatsHelp, "&Help", {312, 254, 62, 14}),
         Button(ids::kIdCancel, "&Close", {312, 272, 62, 14}, true)},
        ids::kStatsHelp};
    return dialog;
}

}  // namespace tallyfold
