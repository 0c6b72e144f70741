#pragma once
// The skinned push button of every view, pane and dialog: paints one frame of
// a vertical strip of state pictures and posts its command to the window in
// front (see CSkinButtonBase for the mouse behaviour).
#include "classlib/CDialog.h"
#include "common/DibImage.h"
#include "controls/SkinButtonBase.h"

class CCustomButton : public CSkinButtonBase {
public:
    CCustomButton();
    ~CCustomButton() override;

    using CWnd::Create;
    // A visible child at rect with no text; sysCommand: post WM_SYSCOMMAND.
    virtual BOOL Create(const RECT& rect, CWnd* parent, UINT id, BOOL sysCommand);
    // Replaces a dialog's placeholder control by a button of the strip's frame
    // size centred on it. The strip must be built first (FALSE without one).
    BOOL CreateFromDlgItem(UINT id, CDialog* dialog);
    // Builds the strip from the skin pack: per state the base picture with the
    // state's suffix picture laid over it (suffixFormat % suffixN), plus a sixth
    // frame like the first. FALSE at the first missing picture (the strip then
    // keeps the frames built so far). Call after Create.
    BOOL LoadBitmaps(LPCWSTR suffixFormat, LPCWSTR baseName, LPCWSTR suffix0, LPCWSTR suffix1, LPCWSTR suffix2,
                     LPCWSTR suffix3, LPCWSTR suffix4);
    // Cuts the four corner pixels off the frame-sized window.
    void SetRoundRegion();
    // The state and its frame, without repainting.
    void SetState(int state) { SetStateValue(state); }
    // SetState and repaint when the state changes.
    void ChangeState(int state) { ApplyState(state); }
    int GetFrameHeight() const { return m_frameCount ? m_strip.height / m_frameCount : 0; }
    int GetFrameCount() const { return m_frameCount; }

    // Filled by LoadBitmaps or by the button-picture builders (five frames).
    DIB_IMAGE m_strip;

protected:
    void SetStateValue(int state) override;
    void ShowStateChange() override { Invalidate(TRUE); }
    void ResetFrames();

    void OnPaint();
    void OnShowWindow(BOOL show, UINT status);
    DECLARE_MESSAGE_MAP()

    int m_frames[kStateCount];  // frame shown for each state
    int m_frameCount = 0;
    int m_currentFrame = 0;
};
