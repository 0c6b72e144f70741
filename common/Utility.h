#pragma once
// Small services many windows and documents share: the program's Tahoma font
// recipe, GDI text fitting and word wrapping, date-time numbers and file names.
#include "classlib/Afx.h"

// A font size in percent: 100 is 12 pixels.
int PercentToPixels(int percent);
// The smallest size the shrink-to-fit drawing goes down to, in pixels.
constexpr int kMinFitFontPixels = 6;

// Tahoma from the stock GUI font's LOGFONT: height -(12 * percent / 100),
// weight 600 or 200, antialiased. *font receives the new font (the caller
// deletes it). FALSE when the font cannot be made.
BOOL CreateTahomaFont(BOOL bold, HFONT* font, int percent, BOOL underline);
// The percent, at most percent, at which every line of text fits rect in the
// Tahoma font; never below the size of kMinFitFontPixels.
int FitFontPercent(HDC dc, int percent, const RECT* rect, const wchar_t* text, BOOL bold);
// Draws text into rect with DrawText's format, shrinking the Tahoma font until
// every line fits (never below kMinFitFontPixels). The DC's font is restored.
void DrawTextShrinkToFit(HDC dc, int percent, const RECT* rect, const wchar_t* text, BOOL bold, UINT format);
// The text broken with line feeds into lines that fit rect in the Tahoma font.
// maxLines < 0: no limit; 0 counts as 1.
CString WrapTextToRect(const RECT* rect, const wchar_t* text, int maxLines, int percent, BOOL bold,
                       BOOL moveOverflowWord);
// Greedy word wrap into at most lineCount lines of width pixels, measured with
// the font selected in dc; lineCount < 0: one line per word at most. The last
// line takes whatever is left.
CString WrapText(const wchar_t* text, HDC dc, int lineCount, int width, BOOL moveOverflowWord);
// Two blanks, a quote, the text shortened with an ellipsis, a quote and a blank,
// fitting rect's width.
CString FormatQuotedEllipsis(HDC dc, const RECT* rect, const wchar_t* text);

// The local date and time as packed decimal words: 2009-03-15 14:25:30 gives
// 0x20090315 and 0x14253000.
BOOL GetSysDateTimeNumbers(DWORD* date, DWORD* time);
void PackDateTimeNumbers(const SYSTEMTIME& t, DWORD* date, DWORD* time);
// yyyymmddhhmmss as a number.
LONGLONG MakeDateTimeNumber(int year, int month, int day, int hour, int minute, int second);
// Fields in range, year 1970-3000, not before 1970-01-01 12:00:00.
BOOL IsValidDateTime(int year, int month, int day, int hour, int minute, int second);

// TRUE when text holds one of \ / : * ? " < > |.
BOOL HasInvalidFileNameChar(const wchar_t* text);
// path when nothing of that name exists, else the first free "name(n).ext" for
// n = 2 ... 99999; empty when all are taken.
CString MakeUniqueFileName(const wchar_t* path);
// Total size of folder\*.kml; files that cannot be opened count 0.
ULONGLONG SumKmlFileSizes(const wchar_t* folder);
