#include "views/device/CloningWnd.h"

#include "common/FileUtil.h"
#include "core/Global.h"
#include "frame/MainWindowCalls.h"
#include "frame/MessageDlg.h"
#include "frame/RemovableDlg.h"
#include "res/frame_ids.h"
#include "views/device/CloningRules.h"

namespace {

BOOL ChooseDrive(CString& root) { return CRemovableDlg::ChooseDrive(FALSE, root); }

int Selection(const CCustomComboBox& combo)
{
    return combo.GetSafeHwnd() ? combo.GetCurSel() : CB_ERR;
}

void Select(CCustomComboBox& combo, int index)
{
    combo.SetCurSel(index >= 0 && index < combo.GetCount() ? index : 0);
}

// The first item that begins with text; 0 when none does.
int SelectPrefix(CCustomComboBox& combo, const CString& text)
{
    const LRESULT found = combo.SendMessage(CB_SELECTSTRING, static_cast<WPARAM>(-1),
                                            reinterpret_cast<LPARAM>(static_cast<const wchar_t*>(text)));
    if (found == CB_ERR)
        combo.SetCurSel(0);
    return combo.GetCurSel();
}

// The item whose id is the stored byte, if any; the selection stays otherwise.
void SelectId(CCustomComboBox& combo, const CArray<_PROGRAM_ITEM_STRUCT>& items, BYTE id)
{
    for (INT_PTR i = 0; i < items.GetSize() && i < combo.GetCount(); ++i)
        if (items[i].id == id) {
            combo.SetCurSel(static_cast<int>(i));
            return;
        }
}

BYTE IdOfSelection(const CCustomComboBox& combo, const CArray<_PROGRAM_ITEM_STRUCT>& items)
{
    const int sel = Selection(combo);
    return sel >= 0 && sel < items.GetSize() ? static_cast<BYTE>(items[sel].id) : 255;
}

}  // namespace

CCloningWnd::ChooseDriveFn CCloningWnd::s_chooseDrive = &ChooseDrive;
CCloningWnd::FileDialogFn CCloningWnd::s_fileDialog = &ShowFileDialog;

void CCloningWnd::RefreshControls()
{
    if (!m_combos[0].GetSafeHwnd())
        return;
    const CDocCl& doc = theGlobal.m_docCl;
    const CNaviModelData& navi = theGlobal.m_naviModel;
    const int type = theGlobal.m_modelType;
    int programString, voiceString;
    const int group = CloneRegionGroupOf(theGlobal.m_naviFile);
    if (CloneDefaultProgramVoice(type, group, &programString, &voiceString)) {
        if (programString >= 0) {
            SelectPrefix(m_combos[Program], UiText(programString));
            SelectPrefix(m_combos[Voice], UiText(voiceString));
        } else {
            m_combos[Program].SetCurSel(0);
            m_combos[Voice].SetCurSel(0);
        }
    } else {
        // No regional default here: show what is stored, so that the next store
        // keeps the user's settings instead of the controls' first items.
        SelectId(m_combos[Program], navi.m_programItems, doc.m_program);
        SelectId(m_combos[Voice], navi.m_voiceItems, doc.m_voice);
    }
    Select(m_combos[Units], doc.m_units);
    if (type == 0 || type == 2) {
        Select(m_combos[DayColour], doc.m_dayColor);
        Select(m_combos[NightColour], doc.m_nightColor);
    } else {
        Select(m_combos[RoadColour], doc.m_roadColor);
    }
    Select(m_combos[DateFormat], doc.m_dateFormat);
    Select(m_combos[TimeFormat], doc.m_timeFormat);
    if (type != 4) {
        m_spins[0].SetValue(doc.m_customLevel1);
        m_spins[1].SetValue(doc.m_customLevel2);
        m_spins[2].SetValue(doc.m_customLevel3);
    }
    Invalidate(FALSE);
}

void CCloningWnd::StoreCloneSettings()
{
    if (!m_combos[0].GetSafeHwnd())
        return;
    CDocCl& doc = theGlobal.m_docCl;
    const CNaviModelData& navi = theGlobal.m_naviModel;
    const int type = theGlobal.m_modelType;
    const bool wide = type == 0 || type == 2;
    const auto byteOf = [this](Combo c) { return static_cast<BYTE>(Selection(m_combos[c])); };
    doc.m_program = IdOfSelection(m_combos[Program], navi.m_programItems);
    doc.m_voice = IdOfSelection(m_combos[Voice], navi.m_voiceItems);
    doc.m_units = byteOf(Units);
    doc.m_dayColor = wide ? byteOf(DayColour) : 0;
    doc.m_nightColor = wide ? byteOf(NightColour) : 0;
    doc.m_roadColor = wide ? 0 : byteOf(RoadColour);
    doc.m_dateFormat = byteOf(DateFormat);
    doc.m_timeFormat = byteOf(TimeFormat);
    BYTE* const levels[kSpinCount] = {&doc.m_customLevel1, &doc.m_customLevel2, &doc.m_customLevel3};
    for (int k = 0; k < kSpinCount; ++k) {
        if (type != 4 && m_spins[k].GetSafeHwnd())
            m_spins[k].Validate(FALSE);
        *levels[k] = type == 4 ? 0 : static_cast<BYTE>(m_spins[k].m_value);
    }
    doc.SetModified(1);
}

LRESULT CCloningWnd::OnSpinValueChange(WPARAM, LPARAM)
{
    StoreCloneSettings();
    Invalidate(FALSE);
    return 1;
}

LRESULT CCloningWnd::OnSpinFocusMove(WPARAM, LPARAM)
{
    for (CCustomSpinEdit& spin : m_spins)
        if (spin.GetSafeHwnd() && spin.m_enabled)
            spin.Validate(TRUE);
    return 1;
}

LRESULT CCloningWnd::OnUserIdle(WPARAM, LPARAM)
{
    const CCmdUI::Button buttons[] = {{&m_clearPicture, ID_CLEAR_PICTURE}};
    if (IsCurrent())
        CCmdUI::UpdateButtons(this, buttons);
    return 0;
}

void CCloningWnd::OnUpdateShown(CCmdUI* ui)
{
    if (!IsCurrent())
        ui->ContinueRouting();
    else
        ui->Enable(TRUE);
}

void CCloningWnd::OnUpdateClearPicture(CCmdUI* ui)
{
    if (!IsCurrent())
        ui->ContinueRouting();
    else
        ui->Enable(theGlobal.m_docCl.HasWallpaper());
}

void CCloningWnd::OnUpdateSavePc(CCmdUI* ui)
{
    if (!IsCurrent())
        ui->ContinueRouting();
    else
        ui->Enable(FALSE);
}

void CCloningWnd::OnOpenPicture()
{
    if (!IsCurrent())
        return;
    wchar_t path[MAX_PATH] = L"";
    CWnd* main = AfxGetMainWnd();
    if (!s_fileDialog(main ? main->GetSafeHwnd() : GetSafeHwnd(), theGlobal.m_splashFolder, 1, TRUE, path))
        return;
    CDocCl& doc = theGlobal.m_docCl;
    if (!doc.Load(path)) {
        CString text;
        ShowMessage(doc.GetErrorString(text), 0);
    }
    Invalidate(FALSE);
}

void CCloningWnd::OnClearPicture()
{
    if (!IsCurrent() || !theGlobal.m_docCl.HasWallpaper())
        return;
    m_clearPicture.SetFocus();
    FreeDibImage(&theGlobal.m_docCl.m_wallpaper);
    theGlobal.m_docCl.m_pictureName.Empty();
    Invalidate(FALSE);
}

void CCloningWnd::OnSaveToCard() { WriteTo(FALSE); }

void CCloningWnd::OnSaveToUsb() { WriteTo(TRUE); }

void CCloningWnd::WriteTo(BOOL usb)
{
    if (!IsCurrent())
        return;
    StoreCloneSettings();
    CDocCl& doc = theGlobal.m_docCl;
    const int type = theGlobal.m_modelType;
    if (!CloneWriteAllowed(type, doc.m_customLevel1, doc.m_customLevel2, doc.m_customLevel3)) {
        ShowMessage(UiText(35), 0);
        return;
    }
    CString root;
    if (!s_chooseDrive(root))
        return;
    if (doc.WriteCloneFiles(root, usb ? CL_STORAGE_USB : CL_STORAGE_CARD, type)) {
        ShowMessage(UiText(16), 0);
    } else {
        CString text;
        ShowMessage(doc.GetErrorString(text), 0);
    }
}

// Nothing is written to the PC from here (the command stays disabled): it
// only keeps the controls' state, and never claims a save it did not make.
void CCloningWnd::OnSaveToPc()
{
    if (IsCurrent())
        StoreCloneSettings();
}

void CCloningWnd::OnBack()
{
    if (!IsCurrent())
        return;
    SendToMain(ID_MAIN_MENU);
}

void CCloningWnd::OnTop()
{
    if (!IsCurrent())
        return;
    SendToMain(ID_MENU_REFRESH);
    SendToMain(ID_MAIN_MENU);
}

int CCloningWnd::SpinOfWindow(HWND hwnd) const
{
    for (int k = 0; k < kSpinCount; ++k)
        if (hwnd && (hwnd == m_spins[k].m_edit.m_hWnd || hwnd == m_spins[k].m_hWnd))
            return k;
    return -1;
}

BOOL CCloningWnd::PreTranslateMessage(MSG* msg)
{
    if (msg->message == WM_KEYDOWN) {
        const int k = SpinOfWindow(::GetFocus());
        const bool shift = ::GetKeyState(VK_SHIFT) < 0;
        if (k >= 0 && (msg->wParam == VK_RETURN || msg->wParam == VK_TAB)) {
            const int next = (k + (shift ? kSpinCount - 1 : 1)) % kSpinCount;
            CEdit& edit = m_spins[next].m_edit;
            edit.SetFocus();
            edit.SendMessage(EM_SETSEL, 0, -1);
            edit.SendMessage(EM_SCROLLCARET, 0, 0);
            return TRUE;
        }
    }
    return CViewWnd::PreTranslateMessage(msg);
}
