#pragma once
// The record that merging several fuel records gives: the newest one (the
// last selected) with the summed distance and amount, and the price,
// position and memo of the nearest records that have them.
#include <vector>

#include "doc/DocFe.h"

struct FUEL_MERGE {
    int keptIndex = -1;
    DOCFUEL_VIEW_DATA before{};  // the kept record as it was
    DOCFUEL_VIEW_DATA merged{};
    // A sum above what a record holds (99999): the merge must not go on.
    bool overflow = false;
};

// indices: the selected records, top to bottom. FALSE when none is valid.
BOOL ComputeFuelMerge(const CDocFe& doc, const std::vector<int>& indices, FUEL_MERGE& out);
