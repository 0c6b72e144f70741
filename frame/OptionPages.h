#pragma once
// The four pages of the options dialog. Each page shows the two rows of tab
// buttons, its radio groups (skinned check buttons with the radio look, not
// automatic: the page checks them itself) and its headings, and keeps its own
// copy of the values it edits until the dialog's OK copies them out.
#include <memory>
#include <vector>

#include "controls/CustomButton.h"
#include "controls/CustomCheckButton.h"
#include "controls/CustomComboBox.h"

// Commands of the tab buttons, posted to the dialog.
constexpr UINT ID_OPTION_TAB_CSV = 32912, ID_OPTION_TAB_UNIT = 32913, ID_OPTION_TAB_TIME = 32914,
               ID_OPTION_TAB_ECO = 32915;

class COptDlgBaseWnd : public CWnd {
public:
    COptDlgBaseWnd() = default;
    ~COptDlgBaseWnd() override;

    // A hidden child at rect: fonts, tab buttons, then the page's own controls.
    // FALSE when a font, a tab picture or a control cannot be made.
    BOOL CreatePage(CWnd* dialog, const RECT& rect);
    // The page's values from the settings in theGlobal, and back.
    virtual void Load() = 0;
    virtual void Store() const = 0;
    BOOL IsLoaded() const { return m_loaded; }

    // Stores value in group g and checks exactly the radio that stores it.
    void SetValue(int group, int value);
    CCustomCheckButton* GetRadio(UINT id);
    CCustomButton m_tabs[4];

protected:
    struct RadioDef {
        UINT id;
        int group;
        int value;
        int x, y, width;
        int label;              // UI string
        bool untilSlash = false;  // only the label's text up to its first "/"
    };
    // The page's tab index (0 CSV .. 3 ECO), radios, headings and spacing.
    virtual int TabIndex() const = 0;
    virtual std::vector<RadioDef> Radios() const = 0;
    virtual std::vector<int> Headings() const = 0;
    virtual int HeadingStep() const { return 100; }
    // Extra controls of a page (the time page's combo).
    virtual BOOL CreateExtras() { return TRUE; }
    virtual void OnRadio(const RadioDef& radio) { SetValue(radio.group, radio.value); }

    BOOL OnCommand(WPARAM wp, LPARAM lp) override;
    void OnPaint();
    BOOL OnEraseBkgnd(CDC*) { return TRUE; }
    void OnDestroy();
    DECLARE_MESSAGE_MAP()

    HFONT m_fontBold = nullptr, m_fontNormal = nullptr;
    std::vector<RadioDef> m_radioDefs;
    std::vector<std::unique_ptr<CCustomCheckButton>> m_radios;
    int m_values[3] = {0, 0, 0};
    BOOL m_loaded = FALSE;
};

class COptDlgCSVWnd : public COptDlgBaseWnd {
public:
    void Load() override;
    void Store() const override;

protected:
    int TabIndex() const override { return 0; }
    std::vector<RadioDef> Radios() const override;
    std::vector<int> Headings() const override { return {292, 293}; }
    int HeadingStep() const override { return 160; }
};

class COptDlgUnitWnd : public COptDlgBaseWnd {
public:
    void Load() override;
    void Store() const override;

protected:
    int TabIndex() const override { return 1; }
    std::vector<RadioDef> Radios() const override;
    std::vector<int> Headings() const override { return {294, 295, 296}; }
};

// TimeZone 0 takes the PC's own time zone (first radio, combo off); 1 applies
// the chosen difference (second radio, beside the combo) - the pairing the
// drive report's time conversion expects.
class COptDlgTimeWnd : public COptDlgBaseWnd {
public:
    void Load() override;
    void Store() const override;
    // The model type is not 0: the time settings cannot be changed.
    void Lock();
    CCustomComboBox m_combo;

protected:
    int TabIndex() const override { return 2; }
    std::vector<RadioDef> Radios() const override;
    std::vector<int> Headings() const override { return {297}; }
    BOOL CreateExtras() override;
    void OnRadio(const RadioDef& radio) override;
    BOOL OnCommand(WPARAM wp, LPARAM lp) override;
    void SetZone(int zone);
};

class COptDlgECOWnd : public COptDlgBaseWnd {
public:
    void Load() override;
    void Store() const override;

protected:
    int TabIndex() const override { return 3; }
    std::vector<RadioDef> Radios() const override;
    std::vector<int> Headings() const override { return {298, 299}; }
};

// "GMT +#12:00" (0) .. "GMT#0:00" (12) .. "GMT -#12:00" (24).
CString TimeDifferenceItem(int index);
