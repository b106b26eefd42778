// Every text the user sees, in one place (compiled to code page 932).
#pragma once

inline constexpr char TextTitle[]          = "Vantle  PC活動記録測定ソフト  Version 1.13";
inline constexpr char TextProduct[]        = "PC活動記録測定ソフト";
inline constexpr char TextTrayTip[]        = "PC活動記録測定ソフト";
// The tip while the program cannot record, by cause; longer than the first form of the tray record
// holds, so they go out in its second form.
inline constexpr char TextTrayTipUnsaved[] = "PC活動記録測定ソフト - 記録できません: ファイルに書き込めません";
inline constexpr char TextTrayTipNoInput[] = "PC活動記録測定ソフト - 記録できません: マウス・キーボードを受け取れません";
inline constexpr char TextTrayTipNoData[]  = "PC活動記録測定ソフト - 記録できません: データフォルダーを使えません";
inline constexpr char TextWindowClass[]    = "window";
inline constexpr char TextWindowTitle[]    = "タイトル";
// The shell's notification area, which the tray calls are sent to.
inline constexpr char TextShellTrayClass[] = "Shell_TrayWnd";
// Asked for by name: the entry is missing before Windows 10 1607.
inline constexpr char TextUser32[]         = "user32.dll";
inline constexpr char TextSetThreadAwareness[] = "SetThreadDpiAwarenessContext";
// The file in the data folder that claims it for one copy, the monitor window's properties by
// which a second start finds the copy of its folder, and the registered message by which it asks
// that copy for its graph window.
inline constexpr char TextLockFile[]       = "vantle.lock";
inline constexpr char TextFolderIndexProperty[] = "Vantle.FolderIndex";
inline constexpr char TextFolderVolumeProperty[] = "Vantle.FolderVolume";
inline constexpr char TextHandoverMessage[] = "Vantle.ShowGraphWindow";
inline constexpr char TextFolderInUse[]    = "このデータフォルダーは別のユーザーのVantleが使用中です";
inline constexpr char TextFolderInUseCaption[] = "Vantle";

// Exit
inline constexpr char TextExitQuestion[]   = "終了 してもよろしいですか？";
inline constexpr char TextExitCaption[]    = "確認";
// Asked after a Yes when the counts in memory cannot be written.
inline constexpr char TextExitUnsaved[]    = "今日の記録をファイルに保存できません。終了すると記録が失われます。終了しますか？";
inline constexpr char TextKillTimerError[] = "KillTimer Error!";
inline constexpr char TextKillTimerCaption[] = "Error";

// Start with Windows: the per-user Run entry (its command is the program's quoted full path) and
// the key where Windows' startup settings switch entries off and on.
inline constexpr char RunKeyPath[]         = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr char ApprovedKeyPath[]    =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\Run";
inline constexpr char RunValueName[]       = "Vantle";
inline constexpr char TextAutostartFailed[] = "Windows起動時に開始する設定を変更できませんでした";

// Day files and start-up
inline constexpr char TextCreateFailed[]   = "ファイルを作成できませんでした";
inline constexpr char TextErrorCaption[]   = "エラー";
inline constexpr char TextOpenFailed[]     = "ファイルがオープンできません";
inline constexpr char TextOpenCaption[]    = "ファイルのオープンの失敗";
// The data reset could not take some day files away: those days keep their files and their data.
inline constexpr char TextResetIncomplete[] = "一部の日のデータをリセットできませんでした";
inline constexpr char TextMouseHookFailed[] = "マウスフックが失敗しました。";
inline constexpr char TextKeyHookFailed[]  = "キーフックが失敗しました。";
inline constexpr char TextHookCaption[]    = "注意！";

// Formats
inline constexpr char FormatDayLabel[]     = "%02d/%02d";
inline constexpr char FormatDayDate[]      = "%04d/%02d/%02d";
inline constexpr char FormatDayFileName[]  = "%04d%02d%02d.dat";
// The folder of the day files, beside the executable, and the folder of a data reset in it.
inline constexpr char TextDataFolder[]     = "data";
inline constexpr char FormatResetFolder[]  = "reset-%04d%02d%02d-%02d%02d%02d";
inline constexpr char FormatResetNumber[]  = "-%d";
inline constexpr char FormatStatusDate[]   = " %d/%02d/%02d";
inline constexpr char FormatStatusTime[]   = " %02d:%02d:%02d";
inline constexpr char FormatPointerX[]     = " X:%ld";
inline constexpr char FormatPointerY[]     = " Y:%ld";
inline constexpr char FormatClickCount[]   = " クリックの回数:%08X";
inline constexpr char FormatKeyCount[]     = " キータッチ回数:%08X";
inline constexpr char FormatMoveCount[]    = " マウスの動き:%08X";
inline constexpr char FormatReadout[]      = " %s %02d:%02d";
inline constexpr char TextReadoutNone[]    = " ";

// Graph window and about box
inline constexpr char TextAboutName[]      = "Vantle  Version 1.13";
inline constexpr char TextAboutCopyright[] = "Copyright (C) 2026 Vantle developers";
inline constexpr char TextAboutRights[]    = "All rights reserved.";
inline constexpr char TextLabelFace[]      = "MS ゴシック";
inline constexpr char TextTitleFace[]      = "MS 明朝";
inline constexpr char TextPlotError[]      = "ddd";
inline constexpr char TextPlotErrorCaption[] = "kk";

// Picture export
inline constexpr char FormatPictureName[]  = "%s%04d%02d%02d.jpg";
inline constexpr char TextSaveTitle[]      = "名前を付けて保存";
inline constexpr char TextJpegFailed[]     = "Jpegファイルを作成できませんでした";
inline constexpr char TextPngFailed[]      = "Pngファイルを作成できませんでした";
inline constexpr char TextPictureLibrary[] = "TransG32.DLL";
inline constexpr char TextJpegEntry[]      = "DCSavetoJPEGW";
inline constexpr char TextPngEntry[]       = "DCSavetoPNGW";
inline constexpr char TextDefaultExt[]     = "jpg";
// The filter's four strings, each zero-ended, then the closing zero.
inline constexpr char TextPictureFilter[]  = "Jpeg Files(*.jpg)\0*.jpg\0Png Files(*.png)\0*.png\0";
// CSV export. The file is UTF-8 with a byte-order mark whatever the ANSI code page, so its
// header is written as UTF-8 bytes; the texts the user sees in the program are code page 932.
inline constexpr char TextCsvFailed[]      = "CSVファイルを保存できませんでした";
inline constexpr char TextCsvFilter[]      = "CSVファイル (*.csv)\0*.csv\0";
inline constexpr char TextCsvDefaultExt[]  = "csv";
inline constexpr char FormatCsvName[]      = "Vantle-%04d%02d%02d.csv";
inline constexpr char CsvByteOrderMark[]   = "\xEF\xBB\xBF";
inline constexpr char CsvHeader[]          = u8"日付,時刻,マウスクリック回数,キータッチ回数,マウスの動き\r\n";
inline constexpr char FormatCsvSlot[]      = "%04d-%02d-%02d,%02d:%02d";
// The CSV file is written under a name of its own beside the chosen one, then renamed.
inline constexpr char FormatCsvTempName[]  = "vcs%04lX.tmp";
inline constexpr char CsvDayFilePattern[]  = "*.dat";
// Totals window. The texts are code page 932 wherever the program runs, so the clipboard's
// Unicode text (and the save dialogs' texts) are converted from that code page.
inline constexpr unsigned TextCodePage     = 932;
inline constexpr const char* TotalsHeaders[5] = {"日付", "マウスクリック回数", "キータッチ回数", "マウスの動き", "活動時間"};
inline constexpr const char* TotalsRangeLabels[4] = {"今日", "過去7日間", "過去30日間", "全期間"};
inline constexpr const char* TextWeekdays[7] = {"月", "火", "水", "木", "金", "土", "日"};  // Monday first
inline constexpr char FormatTotalsDay[]    = "%04d/%02d/%02d (%s)";
inline constexpr char FormatTotalsTime[]   = "%d:%02d";
inline constexpr char TextDayUnreadable[]  = "読めません";
inline constexpr char TextTotalsFailed[]   = "日別の合計を作成できませんでした";
inline constexpr char TextCopyFailed[]     = "クリップボードにコピーできませんでした";
inline constexpr const char* MetricShortCodes[3] = {"MC", "KT", "MM"};
inline constexpr const char* MetricTitles[3] = {"マウスクリック回数", "キータッチ回数", "マウスの動き"};
