#pragma once
// The mileage graph: values over time as a line on a fixed scale from zero,
// date labels along a scrolled and zoomed axis, the average as a line, and
// the extremes and average written beside the curve. CGraphFrame adds the
// unit name and the axis values around it and can draw both into any DC.
#include "classlib/Afx.h"
#include "common/DibImage.h"
#include "controls/ScrollHostWnd.h"

class CGraphCtrl : public CScrollHostWnd {
public:
    enum { Width = 490, Height = 308, GridRows = 10 };
    CGraphCtrl();
    ~CGraphCtrl() override;

    void Clear();
    // The label up to its first blank.
    void AddPoint(const wchar_t* label, double value);
    void ComputeRange();
    void Draw(HDC dc, const RECT& rect);

    // Geometry: x of a point index (scroll position taken off), y of a value.
    int X(int index) const;
    int Y(double value) const;
    int GridStep() const { return m_rows[GridRows - 1].value; }
    int ScrollPos() const;
    static CString UnitName();

    CStringArray m_labels;
    CArray<double, double> m_values;
    double m_xStart = 0, m_xEnd = 1.0;
    double m_zoom = 1.0;
    int m_maxIndex = 0, m_minIndex = 0;
    double m_maximum = 1.0, m_average = 0, m_minimum = 0;
    struct Row {
        int value, y;
    } m_rows[GridRows]{};
    CCustomScrollBar m_hScroll;

protected:
    int OnCreate(LPCREATESTRUCTW cs);
    void OnSize(UINT type, int cx, int cy);
    void OnPaint();
    BOOL OnEraseBkgnd(CDC*) { return FALSE; }
    void OnHScroll(UINT code, UINT pos, CScrollBar* bar);
    void OnDestroy();
    DECLARE_MESSAGE_MAP()

    void UpdateScrollRange();
    void SyncBar();
    DIB_IMAGE m_back{};
    DIB_IMAGE m_sizeBox{};
    HFONT m_font = nullptr;
};

class CGraphFrame : public CWnd {
public:
    CGraphFrame();
    ~CGraphFrame() override;
    // The frame, its labels and the graph into dc over rect (the graph at (37, 25)).
    void Draw(HDC dc, const RECT& rect);
    CGraphCtrl m_graph;

protected:
    int OnCreate(LPCREATESTRUCTW cs);
    void OnSize(UINT type, int cx, int cy);
    void OnPaint();
    BOOL OnEraseBkgnd(CDC*) { return FALSE; }
    DECLARE_MESSAGE_MAP()

    DIB_IMAGE m_back{};
    HFONT m_font = nullptr;
};
