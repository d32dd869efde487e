#include "resources/main_menu.h"

#include "resources/resource_ids.h"

namespace tallyfold {

using platform::AcceleratorTable;
using platform::Key;
using platform::MenuItem;
using platform::MenuTemplate;
using platform::StandardKey;

namespace {

// A place of the recent files; the window names it, or hides it while it is free.
MenuItem RecentFile(int place) {
    static_assert(ids::kRecentFiles == 8);
    return MenuItem::Command(" ", ids::kCmRecentFile + place);
}

}  // namespace

const MenuTemplate& MainMenu() {
    static const MenuTemplate menu{
        ids::kMainMenu,
        {
            MenuItem::Popup(
                "&File",
                {MenuItem::Command("&New", ids::kCmFileNew, StandardKey::New),
                 MenuItem::Command("&Open ...", ids::kCmFileOpen, StandardKey::Open),
                 MenuItem::Command("&Save", ids::kCmFileSave, StandardKey::Save),
                 MenuItem::Command("Save as...", ids::kCmFileSaveAs, StandardKey::SaveAs),
                 MenuItem::Separator(), MenuItem::Command("&Import...", ids::kCmFileImport),
                 MenuItem::Command("&Export...", ids::kCmFileExport), MenuItem::Separator(),
                 RecentFile(0), RecentFile(1), RecentFile(2), RecentFile(3), RecentFile(4),
                 RecentFile(5), RecentFile(6), RecentFile(7), MenuItem::Separator(),
                 MenuItem::Command("&Exit", ids::kCmFileExit, StandardKey::Quit)}),
            MenuItem::Popup("&Edit", {MenuItem::Command("&Undo", ids::kCmEditUndo, {"Ctrl+Z"}),
                                      MenuItem::Command("&Redo", ids::kCmEditRedo,
                                                        {"Ctrl+Shift+Z", "Ctrl+Y"})}),
            MenuItem::Popup(
                "&Card", {MenuItem::Command("&New ...", ids::kCmCardNew, {"Ctrl+Shift+N"}),
                          MenuItem::Command("&Change...", ids::kCmCardChange),
                          MenuItem::Command("&Delete", ids::kCmCardDelete), MenuItem::Separator(),
                          MenuItem::Command("&Find cards...", ids::kCmFindCards, {"Ctrl+F"}),
                          MenuItem::Command("S&tatistics...", ids::kCmStatistics, {"Ctrl+T"})}),
            MenuItem::Popup("&Partition",
                            {MenuItem::Command("&All to input stack", ids::kCmAllToInput),
                             MenuItem::Command("&Change ...", ids::kCmPartitionChange),
                             MenuItem::Command("&Delete last ...", ids::kCmDeleteLast),
                             MenuItem::Separator(), MenuItem::Command("&Mix this", ids::kCmMixThis),
                             MenuItem::Command("Mix &all", ids::kCmMixAll)}),
            MenuItem::Popup(
                "&Options",
                {MenuItem::Command("&Switch Answer + Question", ids::kCmSwitch),
                 MenuItem::Command("&Unknown to input stack", ids::kCmUnknownToInput),
                 MenuItem::Command("&Empty Partitions to the end", ids::kCmEmptyToEnd),
                 MenuItem::Separator(), MenuItem::Command("&Type the answer", ids::kCmTypeAnswer),
                 MenuItem::Command("Ignore &capitals", ids::kCmIgnoreCapitals),
                 MenuItem::Command("Ignore acce&nts and marks", ids::kCmIgnoreAccents),
                 MenuItem::Command("Ignore &punctuation", ids::kCmIgnorePunctuation),
                 MenuItem::Command("Accept &one of several answers", ids::kCmAcceptAlternatives),
                 MenuItem::Separator(),
                 MenuItem::Command("&Question font...", ids::kCmQuestionFont),
                 MenuItem::Command("&Answer font...", ids::kCmAnswerFont)}),
            MenuItem::Popup(
                "&Help", {MenuItem::Command("&Index", ids::kCmHelpIndex, StandardKey::HelpContents),
                          MenuItem::Command("&Search", ids::kCmHelpSearch),
                          MenuItem::Command("&Help on help", ids::kCmHelpOnHelp),
                          MenuItem::Separator(), MenuItem::Command("&Info", ids::kCmHelpInfo)}),
        }};
    return menu;
}

const AcceleratorTable& MainAccelerators() {
    static const AcceleratorTable table{
        ids::kAccelerators,
        {{Key::Virtual(platform::kVkReturn), ids::kCmLookOrProposed},
         {Key::Virtual(platform::kVkEscape), ids::kCmUnknown},
         {Key::Character('k'), ids::kCmLookOrKnown},
         {Key::Character('u'), ids::kCmUnknown}}};
    return table;
}

}  // namespace tallyfold
