// The POI edit history over a real POI document and a view order, as the list
// views drive it: the documented cases, deletions in every index order, and
// random action sequences undone and redone completely.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

#include "views/poi/PoiHistory.h"

namespace {

DOCPI_RECORD Rec(const std::wstring& name, double lon = 0)
{
    DOCPI_RECORD r{};
    wcsncpy(r.name, name.c_str(), 64);
    r.longitude = lon;
    r.latitude = -lon / 2;
    return r;
}

// A list view as the history sees it: a document, the rows' record indices,
// the sort state; counts the refreshes.
class FakeView : public IPoiHistoryView {
public:
    CDocPi& HistoryDocument() override { return doc; }
    CWordArray& HistoryViewOrder() override { return order; }
    int HistorySortKey() const override { return key; }
    int HistorySortOrder() const override { return sortOrder; }
    void HistorySetSort(int k, int o) override
    {
        key = k;
        sortOrder = o;
    }
    void HistoryDocumentChanged() override { ++changes; }
    void HistoryRefresh() override { ++refreshes; }

    void Fill(int n)
    {
        for (int i = 0; i < n; ++i)
            doc.AddRecord(Rec(L"P" + std::to_wstring(i), i));
        ResetOrder();
    }
    void ResetOrder()
    {
        order.RemoveAll();
        for (int i = 0; i < doc.GetRecordCount(); ++i)
            order.Add(static_cast<WORD>(i));
    }
    std::vector<std::wstring> Names() const
    {
        std::vector<std::wstring> names;
        for (int i = 0; i < doc.GetRecordCount(); ++i) {
            DOCPI_RECORD r{};
            doc.GetRecord(i, &r);
            names.push_back(r.name);
        }
        return names;
    }
    std::vector<int> Order() const
    {
        std::vector<int> v;
        for (INT_PTR i = 0; i < order.GetSize(); ++i)
            v.push_back(order[i]);
        return v;
    }

    // The actions of the list view, recorded as it records them.
    void Delete(CPoiHistory& h, const std::vector<int>& rows)
    {
        std::vector<int> records;
        for (int row : rows)
            records.push_back(order[row]);
        h.RecordDeletion(h.NewGroup(), records, order);
        std::vector<int> sorted = records;
        std::sort(sorted.rbegin(), sorted.rend());
        for (int r : sorted)
            doc.m_records.RemoveAt(r);
        // Rows of the removed records go; the others keep their order, renumbered.
        CWordArray next;
        for (INT_PTR i = 0; i < order.GetSize(); ++i) {
            const int r = order[i];
            if (std::find(records.begin(), records.end(), r) != records.end())
                continue;
            const int lower = static_cast<int>(std::count_if(records.begin(), records.end(), [&](int x) { return x < r; }));
            next.Add(static_cast<WORD>(r - lower));
        }
        order.Copy(next);
    }
    void Add(CPoiHistory& h, const DOCPI_RECORD& rec)
    {
        const int index = doc.GetRecordCount();
        h.RecordAdded(h.NewGroup(), index, rec, order);
        doc.AddRecord(rec);
        order.Add(static_cast<WORD>(index));
    }
    void Change(CPoiHistory& h, const std::vector<int>& rows, const std::wstring& text)
    {
        const int group = h.NewGroup();
        for (int row : rows) {
            DOCPI_RECORD r{};
            doc.GetRecord(order[row], &r);
            h.RecordChanged(group, order[row], r);
            wcsncpy(r.description, text.c_str(), 64);
            doc.SetRecord(order[row], r);
        }
    }
    void Sort(CPoiHistory& h, int newKey, int newOrder)
    {
        h.RecordSorted(h.NewGroup(), key, sortOrder, order);
        std::vector<int> v = Order();
        std::stable_sort(v.begin(), v.end(), [&](int a, int b) {
            DOCPI_RECORD ra{}, rb{};
            doc.GetRecord(a, &ra);
            doc.GetRecord(b, &rb);
            const bool less = newKey == 0 ? wcscmp(ra.name, rb.name) < 0 : ra.longitude < rb.longitude;
            const bool greater = newKey == 0 ? wcscmp(ra.name, rb.name) > 0 : ra.longitude > rb.longitude;
            return newOrder ? less : greater;
        });
        order.RemoveAll();
        for (int x : v)
            order.Add(static_cast<WORD>(x));
        key = newKey;
        sortOrder = newOrder;
    }

    CDocPi doc;
    CWordArray order;
    int key = 6, sortOrder = 1;
    int changes = 0, refreshes = 0;
};

struct State {
    std::vector<std::wstring> names, descriptions;
    std::vector<int> order;
    int key, sortOrder;
    bool operator==(const State&) const = default;
};

State Snapshot(const FakeView& v)
{
    State s{v.Names(), {}, v.Order(), v.key, v.sortOrder};
    for (int i = 0; i < v.doc.GetRecordCount(); ++i) {
        DOCPI_RECORD r{};
        v.doc.GetRecord(i, &r);
        s.descriptions.push_back(r.description);
    }
    return s;
}

TEST(PoiHistory, DeletionsInEveryIndexOrderComeBackAndGoAgain)
{
    // Rows chosen so that their record indices are ascending, descending and interleaved.
    const std::vector<std::vector<int>> rowSets = {{1, 3, 5}, {5, 3, 1}, {4, 0, 6, 2}, {0}, {0, 1, 2, 3, 4, 5, 6, 7}};
    for (const auto& rows : rowSets) {
        FakeView v;
        v.Fill(8);
        CPoiHistory h(v);
        v.Sort(h, 1, 0);  // a sorted list: rows are not record indices
        h.ClearUndo();
        const State before = Snapshot(v);
        v.Delete(h, rows);
        const State after = Snapshot(v);
        EXPECT_EQ(v.doc.GetRecordCount(), 8 - static_cast<int>(rows.size()));
        h.Undo();
        EXPECT_TRUE(Snapshot(v) == before) << rows.size();
        EXPECT_FALSE(h.CanUndo());
        h.Redo();
        EXPECT_TRUE(Snapshot(v) == after);
        EXPECT_FALSE(h.CanRedo());
        h.Undo();
        EXPECT_TRUE(Snapshot(v) == before);
    }
}

TEST(PoiHistory, OneGroupPerActionAndTwoSortsAreTwoGroups)
{
    FakeView v;
    v.Fill(5);
    CPoiHistory h(v);
    const State start = Snapshot(v);
    v.Change(h, {0, 1, 2, 3}, L"edited");  // one in-place edit over four rows
    EXPECT_EQ(h.UndoStack().size(), 4u);
    EXPECT_EQ(h.UndoStack().back().group, 0);
    const State edited = Snapshot(v);
    v.Sort(h, 0, 0);
    const State sorted1 = Snapshot(v);
    v.Sort(h, 1, 1);
    EXPECT_EQ(h.UndoStack().back().group, 2);
    h.Undo();
    EXPECT_TRUE(Snapshot(v) == sorted1);
    EXPECT_EQ(v.key, 0);
    EXPECT_EQ(v.sortOrder, 0);
    h.Undo();
    EXPECT_TRUE(Snapshot(v) == edited);
    EXPECT_EQ(v.key, 6);
    h.Undo();  // all four edits at once
    EXPECT_TRUE(Snapshot(v) == start);
    h.Redo();
    EXPECT_TRUE(Snapshot(v) == edited);
}

TEST(PoiHistory, UndoOfNewAndANewActionEndsRedo)
{
    FakeView v;
    v.Fill(3);
    CPoiHistory h(v);
    v.Sort(h, 0, 0);
    const State before = Snapshot(v);
    v.Add(h, Rec(L"New"));
    const State after = Snapshot(v);
    h.Undo();
    EXPECT_TRUE(Snapshot(v) == before);
    h.Redo();
    EXPECT_TRUE(Snapshot(v) == after);
    DOCPI_RECORD r{};
    v.doc.GetRecord(3, &r);
    EXPECT_STREQ(r.name, L"New");
    h.Undo();
    EXPECT_TRUE(h.CanRedo());
    v.Change(h, {0}, L"x");
    EXPECT_FALSE(h.CanRedo());
    h.Redo();  // nothing to redo: nothing happens
    EXPECT_EQ(v.doc.GetRecordCount(), 3);
}

TEST(PoiHistory, UndoAndRedoMarkTheDocumentModified)
{
    FakeView v;
    v.Fill(3);
    CPoiHistory h(v);
    v.Change(h, {1}, L"edit");
    for (int step = 0; step < 2; ++step) {
        v.doc.SetModified(0);  // saved
        if (step == 0)
            h.Undo();
        else
            h.Redo();
        EXPECT_EQ(v.doc.IsModified(), 1) << step;
    }
    v.doc.SetModified(0);
    h.Redo();  // empty redo: nothing applied, nothing marked
    EXPECT_EQ(v.doc.IsModified(), 0);
    EXPECT_GT(v.refreshes, 0);
}

TEST(PoiHistory, AddedEntryOutsideTheDocumentRemovesNothing)
{
    FakeView v;
    v.Fill(2);
    CPoiHistory h(v);
    h.RecordAdded(h.NewGroup(), 7, Rec(L"gone"), v.order);
    h.Undo();
    EXPECT_EQ(v.doc.GetRecordCount(), 2);
}

TEST(PoiHistory, RandomSequencesUndoneAndRedoneCompletely)
{
    for (unsigned seed = 1; seed <= 40; ++seed) {
        std::mt19937 rng(seed);
        FakeView v;
        v.Fill(6);
        CPoiHistory h(v);
        const State initial = Snapshot(v);
        int actions = 0;
        for (int step = 0; step < 25; ++step) {
            const int rows = static_cast<int>(v.order.GetSize());
            const int what = static_cast<int>(rng() % 4);
            if (what == 0 && rows > 0) {
                std::vector<int> all(rows);
                for (int i = 0; i < rows; ++i)
                    all[i] = i;
                std::shuffle(all.begin(), all.end(), rng);
                all.resize(1 + rng() % std::min(rows, 3));
                v.Delete(h, all);
            } else if (what == 1) {
                v.Add(h, Rec(L"N" + std::to_wstring(step), static_cast<double>(rng() % 100)));
            } else if (what == 2 && rows > 0) {
                v.Change(h, {static_cast<int>(rng() % rows)}, L"c" + std::to_wstring(step));
            } else {
                v.Sort(h, static_cast<int>(rng() % 2), static_cast<int>(rng() % 2));
            }
            ++actions;
        }
        const State final = Snapshot(v);
        int undone = 0;
        while (h.CanUndo()) {
            h.Undo();
            ++undone;
        }
        EXPECT_EQ(undone, actions) << seed;
        EXPECT_TRUE(Snapshot(v) == initial) << seed;
        while (h.CanRedo())
            h.Redo();
        EXPECT_TRUE(Snapshot(v) == final) << seed;
    }
}

}  // namespace
