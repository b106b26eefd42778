// Every text the user sees, in Japanese and in English side by side; base/uitext.h looks them up
// in the language in force.
#pragma once

// X(id, Japanese, English), one line a text: a text with only one language does not compile.
// Formats are wide, for the wide formatter. The Japanese texts are those of a Japanese Windows.
#define VANTLE_UI_TEXTS(X) \
    X(TextTitle, L"Vantle  PC活動記録測定ソフト  Version 1.13", L"Vantle  PC Activity Recorder  Version 1.13") \
    X(TextProduct, L"PC活動記録測定ソフト", L"PC Activity Recorder") \
    X(TextTrayTip, L"PC活動記録測定ソフト", L"Vantle PC Activity Recorder") \
    X(TextTrayTipUnsaved, L"PC活動記録測定ソフト - 記録できません: ファイルに書き込めません", \
      L"Vantle PC Activity Recorder - not recording: cannot write the day file") \
    X(TextTrayTipNoInput, L"PC活動記録測定ソフト - 記録できません: マウス・キーボードを受け取れません", \
      L"Vantle PC Activity Recorder - not recording: receives no mouse or keyboard input") \
    X(TextTrayTipNoData, L"PC活動記録測定ソフト - 記録できません: データフォルダーを使えません", \
      L"Vantle PC Activity Recorder - not recording: cannot use the data folder") \
    X(TextFolderInUse, L"このデータフォルダーは別のセッションまたは別のPCのVantleが使用中です", \
      L"This data folder is in use by Vantle in another session or on another PC.") \
    X(TextFolderInUseCaption, L"Vantle", L"Vantle") \
    X(TextExitQuestion, L"終了 してもよろしいですか？", L"Exit Vantle?") \
    X(TextExitCaption, L"確認", L"Vantle") \
    /* Asked after a Yes when the counts in memory cannot be written */ \
    X(TextExitUnsaved, L"今日の記録をファイルに保存できません。終了すると記録が失われます。終了しますか？", \
      L"Today's records cannot be saved to the file. Exiting now loses them. Exit anyway?") \
    X(TextKillTimerError, L"KillTimer Error!", L"KillTimer Error!") \
    X(TextKillTimerCaption, L"Error", L"Error") \
    X(TextAutostartFailed, L"Windows起動時に開始する設定を変更できませんでした", \
      L"The setting to start with Windows could not be changed.") \
    X(TextCreateFailed, L"ファイルを作成できませんでした", L"The file could not be created.") \
    X(TextErrorCaption, L"エラー", L"Error") \
    X(TextOpenFailed, L"ファイルがオープンできません", L"A day file could not be opened.") \
    X(TextOpenCaption, L"ファイルのオープンの失敗", L"Cannot Open File") \
    /* The data reset could not take some day files away: those days keep their files and data */ \
    X(TextResetIncomplete, L"一部の日のデータをリセットできませんでした", L"The data of some days could not be reset.") \
    X(TextMouseHookFailed, L"マウスフックが失敗しました。", L"The mouse hook failed.") \
    X(TextKeyHookFailed, L"キーフックが失敗しました。", L"The keyboard hook failed.") \
    X(TextHookCaption, L"注意！", L"Warning") \
    /* Status bar */ \
    X(FormatStatusDate, L" %d/%02d/%02d", L" %d/%02d/%02d") \
    X(FormatStatusTime, L" %02d:%02d:%02d", L" %02d:%02d:%02d") \
    X(FormatPointerX, L" X:%ld", L" X:%ld") \
    X(FormatPointerY, L" Y:%ld", L" Y:%ld") \
    X(FormatClickCount, L" クリックの回数:%08X", L" Clicks:%08X") \
    X(FormatKeyCount, L" キータッチ回数:%08X", L" Key touches:%08X") \
    X(FormatMoveCount, L" マウスの動き:%08X", L" Mouse travel:%08X") \
    X(FormatReadout, L" %hs %02d:%02d", L" %hs %02d:%02d") \
    X(TextReadoutNone, L" ", L" ") \
    /* Graph window, its menu and the graph; the faces are those of the graph's labels and title */ \
    X(TextMenuFile, L"ファイル(&F)", L"&File") \
    X(TextMenuSavePicture, L"画像の保存(&S)...", L"&Save Picture...") \
    X(TextMenuSaveCsv, L"CSV形式で保存(&C)...", L"Save as &CSV...") \
    X(TextMenuResetData, L"データリセット(&R)", L"&Reset Data") \
    X(TextMenuGraphToTray, L"タスクトレイに入れる(&I)", L"Put &Into Tray") \
    X(TextMenuView, L"表示(&V)", L"&View") \
    X(TextMenuShowClicks, L"マウスクリックを表示", L"Mouse &Clicks") \
    X(TextMenuShowKeys, L"キータッチを表示", L"&Key Touches") \
    X(TextMenuShowMovement, L"マウスの動きを表示", L"Mouse &Travel") \
    X(TextMenuShowTotals, L"日別の合計(&T)...", L"T&otals by Day...") \
    X(TextMenuShowApps, L"アプリ別の合計(&A)...", L"Totals by &Application...") \
    X(TextMenuHelp, L"ヘルプ(&H)", L"&Help") \
    X(TextMenuAbout, L"バージョン情報(&A)", L"&About Vantle") \
    X(TextMenuPutAway, L"タスクトレイに入れる(&I)", L"Put &Into Tray") \
    X(TextMenuOpen, L"タスクトレイから出す(&O)", L"&Open Graph") \
    X(TextMenuRecordApps, L"アプリ別に記録する(&A)", L"Record by &Application") \
    X(TextMenuRecordKeys, L"キーとボタンを記録する(&K)", L"Record &Keys and Buttons") \
    X(TextMenuShowKeyboard, L"キーボードとマウス(&K)...", L"&Keyboard and Mouse...") \
    X(TextMenuShowCalendar, L"年間カレンダー(&Y)...", L"&Year Calendar...") \
    X(TextMenuStartWithWindows, L"Windows起動時に開始(&W)", L"Start with &Windows") \
    X(TextMenuExit, L"終了(&X)", L"E&xit") \
    X(TextLabelFace, L"MS ゴシック", L"Arial") \
    X(TextTitleFace, L"MS 明朝", L"Times New Roman") \
    X(TextPlotError, L"ddd", L"ddd") \
    X(TextPlotErrorCaption, L"kk", L"kk") \
    X(TextMetricClicks, L"マウスクリック回数", L"Mouse Clicks") \
    X(TextMetricKeys, L"キータッチ回数", L"Key Touches") \
    X(TextMetricMovement, L"マウスの動き", L"Mouse Travel") \
    /* About box */ \
    X(TextAboutCaption, L"バージョン情報", L"About Vantle") \
    X(TextAboutName, L"Vantle  Version 1.13", L"Vantle  Version 1.13") \
    X(TextAboutCopyright, L"Copyright (C) 2026 Vantle developers", L"Copyright (C) 2026 Vantle developers") \
    X(TextAboutRights, L"All rights reserved.", L"All rights reserved.") \
    X(TextOk, L"OK", L"OK") \
    /* Save dialogs: each filter is its strings, each zero-ended, then the closing zero */ \
    X(TextSaveTitle, L"名前を付けて保存", L"Save As") \
    X(TextPictureFilter, L"Jpeg Files(*.jpg)\0*.jpg\0Png Files(*.png)\0*.png\0", \
      L"JPEG Files (*.jpg)\0*.jpg\0PNG Files (*.png)\0*.png\0") \
    X(TextJpegFailed, L"Jpegファイルを作成できませんでした", L"The JPEG file could not be created.") \
    X(TextPngFailed, L"Pngファイルを作成できませんでした", L"The PNG file could not be created.") \
    X(TextCsvFilter, L"CSVファイル (*.csv)\0*.csv\0", L"CSV Files (*.csv)\0*.csv\0") \
    X(TextCsvFailed, L"CSVファイルを保存できませんでした", L"The CSV file could not be saved.") \
    /* Totals window: its columns, ranges and weekdays (Monday first) */ \
    X(TextTotalsCaption, L"日別の合計", L"Totals by Day") \
    X(TextTotalsCopy, L"コピー(&C)", L"&Copy") \
    X(TextTotalsClose, L"閉じる", L"Close") \
    X(TextTotalsDate, L"日付", L"Date") \
    X(TextTotalsClicks, L"マウスクリック回数", L"Mouse Clicks") \
    X(TextTotalsKeys, L"キータッチ回数", L"Key Touches") \
    X(TextTotalsMovement, L"マウスの動き", L"Mouse Travel") \
    X(TextTotalsActiveTime, L"活動時間", L"Active Time") \
    X(TextTotalsToday, L"今日", L"Today") \
    X(TextTotalsWeek, L"過去7日間", L"Last 7 days") \
    X(TextTotalsMonth, L"過去30日間", L"Last 30 days") \
    X(TextTotalsAll, L"全期間", L"All time") \
    X(TextMonday, L"月", L"Mon") \
    X(TextTuesday, L"火", L"Tue") \
    X(TextWednesday, L"水", L"Wed") \
    X(TextThursday, L"木", L"Thu") \
    X(TextFriday, L"金", L"Fri") \
    X(TextSaturday, L"土", L"Sat") \
    X(TextSunday, L"日", L"Sun") \
    X(FormatTotalsDay, L"%04d/%02d/%02d (%ls)", L"%04d/%02d/%02d (%ls)") \
    X(FormatTotalsTime, L"%d:%02d", L"%d:%02d") \
    X(TextDayUnreadable, L"読めません", L"Unreadable") \
    X(TextTotalsFailed, L"日別の合計を作成できませんでした", L"The totals by day could not be made.") \
    X(TextCopyFailed, L"クリップボードにコピーできませんでした", L"The list could not be copied to the clipboard.") \
    /* Apps window: its caption and the columns of its own; the rest are the totals window's */ \
    X(TextAppsCaption, L"アプリ別の合計", L"Totals by Application") \
    X(TextAppsApplication, L"アプリ", L"Application") \
    X(TextAppsShare, L"割合", L"Share") \
    X(TextAppsUnknown, L"(不明)", L"(unknown)") \
    X(TextAppsOthers, L"(その他)", L"(other)") \
    X(FormatAppsShare, L"%d.%d%%", L"%d.%d%%") \
    /* The PCs of a share folder: the windows' choice, the share window, the graph's sum */ \
    X(TextPcThis, L"このPC", L"This PC") \
    X(TextPcAll, L"すべてのPC", L"All PCs") \
    X(TextMenuShare, L"他のPCと共有(&P)...", L"Share with Other &PCs...") \
    X(TextMenuGraphAllPcs, L"すべてのPCの合計を表示(&P)", L"Show the Sum of All &PCs") \
    X(TextShareCaption, L"他のPCと共有", L"Share with Other PCs") \
    X(TextShareBrowse, L"参照(&B)...", L"&Browse...") \
    X(TextShareStop, L"共有しない(&N)", L"Do &Not Share") \
    X(TextShareColumnPc, L"PC", L"PC") \
    X(TextShareColumnNewest, L"最新の日", L"Newest Day") \
    X(TextShareColumnDays, L"日数", L"Days") \
    X(TextShareNone, L"(共有していません)", L"(not shared)") \
    X(TextShareThisPc, L"%ls (このPC)", L"%ls (this PC)") \
    X(FormatShareDay, L"%04d/%02d/%02d", L"%04d/%02d/%02d") \
    X(FormatShareLast, L"最後の公開: %04d/%02d/%02d %02d:%02d", L"Last published: %04d/%02d/%02d %02d:%02d") \
    X(TextShareName, L"このPCの名前(&M):", L"This PC's na&me:") \
    X(TextShareNotYet, L"まだ公開していません", L"Not published yet") \
    X(TextShareFailed, L"共有フォルダーに書き込めません。次の区切りで再試行します", \
      L"The share folder cannot be written; it is tried again at the next slot.") \
    X(TextShareChoose, L"共有フォルダーを選んでください", L"Choose the share folder") \
    X(TextShareSettingFailed, L"共有の設定を変更できませんでした", L"The share setting could not be changed.") \
    X(TextAppsSettingFailed, L"アプリ別に記録する設定を変更できませんでした", \
      L"The setting to record by application could not be changed.") \
    X(TextAppsReadFailed, L"アプリ別の記録ファイルを読み込めません", L"A file of the totals by application could not be read.") \
    X(TextAppsWriteFailed, L"アプリ別の記録ファイルに書き込めませんでした", \
      L"A file of the totals by application could not be written.") \
    /* Keyboard window: the legends the platform may not give, the mouse, the scale */ \
    X(TextKeyboardCaption, L"キーボードとマウス", L"Keyboard and Mouse") \
    X(TextLayout104, L"104キー (英語)", L"104 keys (US)") \
    X(TextLayout109, L"109キー (日本語)", L"109 keys (Japanese)") \
    X(TextKeyPause, L"Pause", L"Pause") \
    X(TextKeyUp, L"↑", L"↑") \
    X(TextKeyDown, L"↓", L"↓") \
    X(TextKeyLeft, L"←", L"←") \
    X(TextKeyRight, L"→", L"→") \
    X(TextKeyWindows, L"Windows", L"Windows") \
    X(TextKeyMenu, L"アプリ", L"Menu") \
    X(TextKeyHankaku, L"半角/全角", L"Hankaku") \
    X(TextKeyYen, L"¥", L"Yen") \
    X(TextKeyRo, L"ろ", L"Ro") \
    X(TextKeyMuhenkan, L"無変換", L"Muhenkan") \
    X(TextKeyHenkan, L"変換", L"Henkan") \
    X(TextKeyKana, L"カタカナ", L"Kana") \
    X(TextButtonLeft, L"左ボタン", L"Left button") \
    X(TextButtonRight, L"右ボタン", L"Right button") \
    X(TextButtonMiddle, L"中ボタン", L"Middle button") \
    X(TextButtonX1, L"X1ボタン (戻る)", L"X1 button (back)") \
    X(TextButtonX2, L"X2ボタン (進む)", L"X2 button (forward)") \
    X(TextWheel, L"ホイール (ノッチ)", L"Wheel (notches)") \
    X(TextButtonLeftShort, L"左", L"L") \
    X(TextButtonRightShort, L"右", L"R") \
    X(TextButtonMiddleShort, L"中", L"M") \
    X(TextButtonX1Short, L"X1", L"X1") \
    X(TextButtonX2Short, L"X2", L"X2") \
    X(TextWheelShort, L"ホイール", L"Wheel") \
    X(TextHeatScale, L"回数 (対数)", L"Count (log)") \
    /* Calendar window: its caption, the month names, the legend and the pointed day */ \
    X(TextCalendarCaption, L"年間カレンダー", L"Year Calendar") \
    X(TextJanuary, L"1月", L"Jan") \
    X(TextFebruary, L"2月", L"Feb") \
    X(TextMarch, L"3月", L"Mar") \
    X(TextApril, L"4月", L"Apr") \
    X(TextMay, L"5月", L"May") \
    X(TextJune, L"6月", L"Jun") \
    X(TextJuly, L"7月", L"Jul") \
    X(TextAugust, L"8月", L"Aug") \
    X(TextSeptember, L"9月", L"Sep") \
    X(TextOctober, L"10月", L"Oct") \
    X(TextNovember, L"11月", L"Nov") \
    X(TextDecember, L"12月", L"Dec") \
    X(TextCalendarLess, L"少", L"Less") \
    X(TextCalendarMore, L"多", L"More") \
    X(FormatCalendarYear, L"%d年", L"%d") \
    X(FormatCalendarTotal, L"%d年の合計: %ls", L"Total of %d: %ls") \
    X(FormatCalendarDay, L"%04d/%02d/%02d (%ls)  %ls", L"%04d/%02d/%02d (%ls)  %ls") \
    X(TextCalendarNoData, L"データなし", L"No data") \
    X(TextKeysSettingFailed, L"キーとボタンを記録する設定を変更できませんでした", \
      L"The setting to record keys and buttons could not be changed.") \
    X(TextKeysReadFailed, L"キーとボタンの記録ファイルを読み込めません", L"A file of the keys and buttons could not be read.") \
    X(TextKeysWriteFailed, L"キーとボタンの記録ファイルに書き込めませんでした", \
      L"A file of the keys and buttons could not be written.")
