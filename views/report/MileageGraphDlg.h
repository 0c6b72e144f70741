#pragma once
// The mileage graph dialog: one sample per fuel record in date order, drawn
// by the graph frame with the average line, zoomed by its buttons and the
// wheel, and saved as a JPEG picture with a title and the brand's band.
#include "controls/CustomDialog.h"
#include "views/report/GraphCtrl.h"

class CMileageGraphDlg : public CCustomDialog {
public:
    CMileageGraphDlg();
    ~CMileageGraphDlg() override;

    // Inserted in date and time order; equal keys keep their order of arrival.
    void AddSample(const wchar_t* date, const wchar_t* time, double value);
    // The picture that the save writes: title band, the frame and the bottom
    // band (FALSE when a picture or the DIB cannot be made).
    BOOL ComposeImage(DIB_IMAGE* out);

    // Where the save writes (the file dialog; tests answer it).
    using SaveDialogFn = BOOL (*)(HWND owner, const wchar_t* folder, int kind, BOOL open, wchar_t* path);
    static SaveDialogFn s_saveDialog;
    // The title band's skin picture.
    static const wchar_t* s_titlePicture;

    void OnZoomIn();
    void OnZoomOut();
    void OnSaveImage();

    CStringArray m_dates, m_times;
    CArray<double, double> m_values;
    CCustomButton m_btnZoomOut, m_btnZoomIn, m_btnSave;
    CGraphFrame m_frame;
    DIB_IMAGE m_top{}, m_bottom{}, m_noScrollbar{};

protected:
    BOOL OnInitDialog() override;
    BOOL OnMouseWheel(UINT flags, short delta, CPoint pt);
    void OnSize(UINT, int, int) { Default(); }
    DECLARE_MESSAGE_MAP()

    HFONT m_titleFont = nullptr;
};
