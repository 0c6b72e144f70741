#pragma once
// Language rows the report views added to the table.

// A merge refused because a sum would not fit the record.
constexpr int kUiMergeSumTooLarge = 431;
// The mileage graph with nothing to draw: no dated record in the main currency.
constexpr int kUiGraphNothingToDraw = 432;
// A typed number outside the range of its column.
constexpr int kUiValueOutOfRange = 433;
// The fuel view's button that writes the master file.
constexpr int kUiSaveMasterFile = 434;
// The folder browser's free-space line; "%d" is the megabytes.
constexpr int kUiFolderFreeSpace = 435;
