#include "frame/CellText.h"

#include "common/TextCheck.h"
#include "core/Global.h"

int CheckCellText(CString& text, int limit)
{
    if (!IsTextOfClass(text, theGlobal.m_naviModel.m_modelGroup))
        return CellTextRefused;
    if (text.GetLength() > limit) {
        text = text.Left(limit);
        return CellTextCut;
    }
    return CellTextOk;
}
