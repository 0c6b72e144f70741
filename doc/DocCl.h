#pragma once
// The settings replicator: a copy of the unit's settings that the user edits on
// the PC and writes to the card as clone.xml, with a wallpaper picture.
#include "common/DibImage.h"
#include "doc/Doc.h"

enum ClDocError { CLERR_WRITE_XML = 6, CLERR_WRITE_WALLPAPER = 7, CLERR_CREATE_FOLDER = 8 };
enum ClStorageKind { CL_STORAGE_CARD = 0, CL_STORAGE_USB = 1 };

class CDocCl : public CDoc {
public:
    CDocCl();
    ~CDocCl() override;

    // A picture as the wallpaper, fitted and letterboxed to the unit's screen.
    // Error 2 (the old wallpaper stays) when it cannot be read.
    BOOL Load(const wchar_t* path) override;
    BOOL Save(const wchar_t*) override { return ReturnTrue(); }
    void InitErrorStrings() override;

    // Program and voice from the navi model's lists (255 for an empty list),
    // custom illumination levels 1.
    void InitDefaults();
    // clone.xml and, when there is a wallpaper, wallpaper.bmp in the model
    // type's card layout. Error 8, 6 or 7; the wallpaper goes first, so the
    // card's clone.xml never names a wallpaper that failed to be written.
    BOOL WriteCloneFiles(const wchar_t* root, int storageKind, int modelType);

    // The wallpaper's size on the model type's screen.
    static SIZE GetScreenSize(int modelType);
    // The illumination colour of model types 0 and 2 (levels above 31 count as 31).
    int GetIlluminationColor() const;
    // The custom illumination value of the other model types.
    int GetCustomIllumination(int modelType) const;
    // The wallpaper as the unit finds it; empty when there is no path element.
    CString GetSplashPath(int storageKind, int modelType, bool* hasPath) const;
    BOOL HasWallpaper() const { return m_wallpaper.bits != nullptr; }

    DIB_IMAGE m_wallpaper;
    BYTE m_program = 0;
    BYTE m_voice = 0;
    BYTE m_units = 0;
    BYTE m_dayColor = 0;
    BYTE m_nightColor = 0;
    BYTE m_roadColor = 0;
    BYTE m_dateFormat = 0;
    BYTE m_timeFormat = 0;
    BYTE m_customLevel1 = 0;
    BYTE m_customLevel2 = 0;
    BYTE m_customLevel3 = 0;
    CString m_pictureName;
};
