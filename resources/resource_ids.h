#pragma once

// Every number by which the program names its commands, controls, templates and texts.

namespace tallyfold::ids {

// Menu 100 and its commands.
inline constexpr int kMainMenu = 100;
inline constexpr int kCmFileNew = 101;
inline constexpr int kCmFileOpen = 102;
inline constexpr int kCmFileImport = 103;
inline constexpr int kCmFileExport = 104;
inline constexpr int kCmFileSave = 105;
inline constexpr int kCmFileSaveAs = 106;
inline constexpr int kCmFileExit = 108;
inline constexpr int kCmCardChange = 121;
inline constexpr int kCmCardDelete = 122;
inline constexpr int kCmAllToInput = 123;
inline constexpr int kCmCardNew = 124;
inline constexpr int kCmPartitionChange = 125;
inline constexpr int kCmDeleteLast = 126;
inline constexpr int kCmMixAll = 127;
inline constexpr int kCmMixThis = 128;
inline constexpr int kCmHelpIndex = 131;
inline constexpr int kCmHelpSearch = 132;
inline constexpr int kCmHelpOnHelp = 133;
inline constexpr int kCmHelpInfo = 134;
inline constexpr int kCmSwitch = 141;
inline constexpr int kCmEmptyToEnd = 142;
inline constexpr int kCmUnknownToInput = 143;
inline constexpr int kCmQuestionFont = 144;
inline constexpr int kCmAnswerFont = 145;
inline constexpr int kCmFindCards = 146;
inline constexpr int kCmStatistics = 154;
// Learning by typing the answer, and what its check overlooks.
inline constexpr int kCmTypeAnswer = 147;
inline constexpr int kCmIgnoreCapitals = 148;
inline constexpr int kCmIgnoreAccents = 149;
inline constexpr int kCmIgnorePunctuation = 150;
inline constexpr int kCmAcceptAlternatives = 153;
inline constexpr int kCmEditUndo = 151;
inline constexpr int kCmEditRedo = 152;
// The recent files of the File menu, the newest first.
inline constexpr int kCmRecentFile = 161;
inline constexpr int kRecentFiles = 8;

// Accelerator table 1201 and the main window's controls.
inline constexpr int kAccelerators = 1201;
inline constexpr int kCmLookOrKnown = 1202;
inline constexpr int kCmUnknown = 1203;
// Enter: Look, or the verdict the check of a typed answer proposed ("k" is Look, or Known).
inline constexpr int kCmLookOrProposed = 1204;
inline constexpr int kQuestionStatic = 201;
inline constexpr int kAnswerStatic = 202;
inline constexpr int kPartitionStatic = 203;
// The answer typed, what it was checked to be letter by letter, and the check's verdict.
inline constexpr int kTypedAnswerEdit = 204;
inline constexpr int kTypedMarks = 205;
inline constexpr int kVerdictStatic = 206;
inline constexpr int kLookButton = 211;
inline constexpr int kKnownButton = 212;
inline constexpr int kUnknownButton = 1203;
inline constexpr int kCountsGadget = 90;
inline constexpr int kSafetyGadget = 91;
inline constexpr int kTodayGadget = 92;

// Dialog templates; a dialog's help context is its template number.
inline constexpr int kDoublesDialog = 3200;
inline constexpr int kInputDialog = 3300;
inline constexpr int kTargetDialog = 3400;
inline constexpr int kOverviewDialog = 3500;
inline constexpr int kCardsDialog = 3600;
inline constexpr int kStatisticsDialog = 3700;

// Buttons every dialog shares.
inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;

// Doubles (3200).
inline constexpr int kDoublesQuestion = 1201;
inline constexpr int kDoublesAnswer = 1202;
inline constexpr int kDoublesChange = 101;
inline constexpr int kDoublesHelp = 9;

// Input (3300).
inline constexpr int kInputQuestion = 301;
inline constexpr int kInputAnswer = 302;
inline constexpr int kInputHelp = 303;
inline constexpr int kInputCount = 304;

// Put into... (3400).
inline constexpr int kTargetList = 401;

// Partition overview (3500).
inline constexpr int kOverviewDelete = 101;
inline constexpr int kOverviewCards = 501;
inline constexpr int kOverviewPartition = 502;
inline constexpr int kOverviewCorrect = 503;
inline constexpr int kOverviewMove = 504;
inline constexpr int kOverviewHelp = 506;
inline constexpr int kOverviewCount = 507;
inline constexpr int kOverviewFind = 508;

// Cards (3600).
inline constexpr int kCardsSearch = 601;
inline constexpr int kCardsStrict = 602;
inline constexpr int kCardsPartition = 603;
inline constexpr int kCardsTable = 604;
inline constexpr int kCardsCount = 605;
inline constexpr int kCardsEdit = 606;
inline constexpr int kCardsDelete = 607;
inline constexpr int kCardsPutInto = 608;
inline constexpr int kCardsHelp = 609;
inline constexpr int kCardsReset = 610;
// Commands of the Cards window's keys.
inline constexpr int kCardsFind = 611;
inline constexpr int kCardsUndo = 612;
inline constexpr int kCardsRedo = 613;
inline constexpr int kCardsSelectAll = 614;

// Statistics (3700).
inline constexpr int kStatsBox = 701;
inline constexpr int kStatsTotals = 702;
inline constexpr int kStatsRight = 703;
inline constexpr int kStatsDays = 704;
inline constexpr int kStatsCalendar = 705;
inline constexpr int kStatsStreak = 706;
inline constexpr int kStatsHardest = 707;
inline constexpr int kStatsAskNext = 708;
inline constexpr int kStatsHelp = 709;

// The string table.
inline constexpr int kStrLook = 11001;
inline constexpr int kStrKnown = 11002;
inline constexpr int kStrUnknown = 11003;
inline constexpr int kStrTitle = 11004;
inline constexpr int kStrEraseAll = 11006;
inline constexpr int kStrSeparatorMissing = 11008;
inline constexpr int kStrQuestionMissing = 11009;
inline constexpr int kStrAnswerMissing = 11010;
inline constexpr int kStrSaveChanges = 11011;
inline constexpr int kStrCardCounters = 11012;
inline constexpr int kStrPartitionCounts = 11013;
inline constexpr int kStrDeleteLast = 11014;
inline constexpr int kStrAllToInput = 11015;
inline constexpr int kStrFieldsEmpty = 11017;
inline constexpr int kStrCancel = 11018;
inline constexpr int kStrReallyDelete = 11021;
inline constexpr int kStrInput = 11022;
inline constexpr int kStrTextTooLong = 11030;
inline constexpr int kStrCharacterNotSupported = 11031;
inline constexpr int kStrCannotRead = 11032;
inline constexpr int kStrMisplacedCards = 11033;
inline constexpr int kStrCannotSave = 11034;
inline constexpr int kStrCannotOpenText = 11035;
inline constexpr int kStrCannotWriteText = 11036;
inline constexpr int kStrImportTitle = 11037;
inline constexpr int kStrExportTitle = 11038;
inline constexpr int kStrTextFilter = 11039;
inline constexpr int kStrVocabularyFilter = 11040;
inline constexpr int kStrOk = 11041;
inline constexpr int kStrNoCard = 11042;
inline constexpr int kStrFileDamaged = 11043;
inline constexpr int kStrNotText = 11044;
inline constexpr int kStrImportLine = 11045;
inline constexpr int kStrImportCut = 11046;
inline constexpr int kStrTooManyCards = 11047;
inline constexpr int kStrUndo = 11048;
inline constexpr int kStrRedo = 11049;
// The names of the steps of the history, in the order of `StepName` (11050 is the unnamed one).
inline constexpr int kStrStepFollow = 11050;
inline constexpr int kStrStepKnown = 11051;
inline constexpr int kStrRestore = 11065;
inline constexpr int kStrReplaceCards = 11066;
inline constexpr int kStrOneCard = 11067;
inline constexpr int kStrCards = 11068;
inline constexpr int kStrOpenElsewhere = 11069;
inline constexpr int kStrChangedOnDisk = 11070;
inline constexpr int kStrOneChange = 11071;
inline constexpr int kStrChanges = 11072;
inline constexpr int kStrRestoreIncomplete = 11073;
inline constexpr int kStrRestorePart = 11074;
inline constexpr int kStrJournalTooLarge = 11075;
// The safety net that is off: what, why (a folder's problem, in the order of `FolderProblem`),
// and the short words of the status bar.
inline constexpr int kStrNetJournalOff = 11076;
inline constexpr int kStrNetLockOff = 11077;
inline constexpr int kStrNetBackupsOff = 11078;
inline constexpr int kStrFolderMissing = 11079;
inline constexpr int kStrFolderNotAFolder = 11080;
inline constexpr int kStrFolderReadOnly = 11081;
inline constexpr int kStrFolderFull = 11082;
inline constexpr int kStrFolderUnwritable = 11083;
inline constexpr int kStrNetJournalShort = 11084;
inline constexpr int kStrNetLockShort = 11085;
inline constexpr int kStrNetBackupsShort = 11086;
inline constexpr int kStrCannotSaveBecause = 11087;
inline constexpr int kStrNotUtf8 = 11088;
inline constexpr int kStrControlCharacter = 11089;
inline constexpr int kStrNotUtf8File = 11090;
inline constexpr int kStrOtherCodePage = 11091;
inline constexpr int kStrTextsCut = 11092;
inline constexpr int kStrBecomesUnicode = 11093;
inline constexpr int kStrCardsPutIn = 11095;
inline constexpr int kStrEmptyBox = 11096;
inline constexpr int kStrImportSummary = 11097;
inline constexpr int kStrImportRefusedLines = 11098;
inline constexpr int kStrImportMoreLines = 11099;
inline constexpr int kStrImportStopped = 11100;
inline constexpr int kStrImportReadAsTabs = 11101;
inline constexpr int kStrQuestionFont = 11102;
inline constexpr int kStrAnswerFont = 11103;
inline constexpr int kStrQuestionName = 11104;
inline constexpr int kStrAnswerName = 11105;
inline constexpr int kStrAnswerHidden = 11106;
inline constexpr int kStrPartitionName = 11107;
inline constexpr int kStrNoPartition = 11108;
inline constexpr int kStrInputStackShort = 11109;
inline constexpr int kStrCardsShown = 11110;
inline constexpr int kStrColumnQuestion = 11111;
inline constexpr int kStrColumnAnswer = 11112;
inline constexpr int kStrColumnPartition = 11113;
inline constexpr int kStrColumnKnown = 11114;
inline constexpr int kStrColumnUnknown = 11115;
inline constexpr int kStrAllPartitions = 11116;
inline constexpr int kStrDeleteCards = 11117;
// The names of the steps after New, in the order of `StepName`.
inline constexpr int kStrStepResetCounters = 11118;
inline constexpr int kStrResetCounters = 11119;
// The titles of the steps that name their cards ("Delete 12 cards").
inline constexpr int kStrStepMoveCount = 11120;
inline constexpr int kStrStepDeleteCount = 11121;
inline constexpr int kStrStepResetCount = 11122;
// What the learning view says of a typed answer once it is checked.
inline constexpr int kStrAnswerRight = 11123;
inline constexpr int kStrAnswerRightBut = 11124;
inline constexpr int kStrAnswerNotRight = 11125;
inline constexpr int kStrSlipCapitals = 11126;
inline constexpr int kStrSlipAccents = 11127;
inline constexpr int kStrSlipPunctuation = 11128;
inline constexpr int kStrSlipsAnd = 11129;
inline constexpr int kStrAnswerTyped = 11130;
inline constexpr int kStrOneLetterWrong = 11131;
inline constexpr int kStrLettersWrong = 11132;
inline constexpr int kStrOneLetterMissing = 11133;
inline constexpr int kStrLettersMissing = 11134;
inline constexpr int kStrOneLetterExtra = 11135;
inline constexpr int kStrLettersExtra = 11136;
inline constexpr int kStrAnswerOneOfSeveral = 11137;
inline constexpr int kStrTypedAnswerName = 11138;
// The day history beside a vocabulary file, when it cannot be read or written.
inline constexpr int kStrHistoryDamaged = 11139;
inline constexpr int kStrHistoryDamagedKept = 11140;
inline constexpr int kStrHistoryUnsaved = 11141;
// The status bar's glance at the day history: today's verdicts and the days in a row.
inline constexpr int kStrTodayStrip = 11142;
// The Statistics window.
inline constexpr int kStrStatsTotals = 11143;
inline constexpr int kStrStatsRight = 11144;
inline constexpr int kStrStatsNoAnswers = 11145;
inline constexpr int kStrStatsStreak = 11146;
inline constexpr int kStrStatsBoxName = 11147;
inline constexpr int kStrStatsPartition = 11148;
inline constexpr int kStrStatsPartitionOver = 11149;
inline constexpr int kStrStatsUnlimited = 11150;
inline constexpr int kStrStatsDaysName = 11151;
inline constexpr int kStrStatsCalendarName = 11152;
inline constexpr int kStrStatsDaysAgo = 11153;
inline constexpr int kStrStatsToday = 11154;
inline constexpr int kStrOneDay = 11155;
inline constexpr int kStrDays = 11156;
inline constexpr int kStrStatsColumnNotKnown = 11157;
inline constexpr int kStrStatsYearAgo = 11158;

}  // namespace tallyfold::ids
