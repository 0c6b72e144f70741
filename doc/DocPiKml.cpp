// POI KML files: the version 1.0 layout (model types 0 and 2, UTF-8), the
// version 2.0 layout (the other model types, UTF-16), and plain KML from
// elsewhere when reading.
#include <objbase.h>

#include <algorithm>
#include <cmath>
#include <cwchar>

#include "common/FileReplace.h"
#include "common/TextCheck.h"
#include "common/WebUtil.h"
#include "common/XmlDocument.h"
#include "common/XmlWriter.h"
#include "core/Global.h"
#include "doc/DocPi.h"
#include "doc/RssText.h"

namespace {

const wchar_t kKmlNamespace[] = L"http://earth.google.com/kml/2.1";

enum Layout { LAYOUT_PLAIN = 0, LAYOUT_V1 = 1, LAYOUT_V2 = 2 };

// A KML file larger than this holds far more than the 2,000 POIs a document
// takes, and its DOM alone would fill much of the program's address space.
constexpr ULONGLONG kMaxKmlFileBytes = 64ull * 1024 * 1024;

// Thrown inside the reader for a file that breaks its layout's rules.
struct KmlFormatError {};
struct KmlTooManyRecords {};

bool IsV1Model(int type) { return type == 0 || type == 2; }

// Characters the unit cannot show become '?'.
CString Shown(CString text)
{
    wchar_t* buf = text.GetBuffer();
    ReplaceCharsNotOfClass(buf, theGlobal.m_naviModel.m_modelGroup);
    text.ReleaseBuffer();
    return text;
}

// A plain decimal number with "." as the decimal point, blanks around it
// allowed; "nan", "inf", "0x10", "1e2" and trailing text are none.
bool ReadDotNumber(CString text, double& value)
{
    text.Trim(L" \t\r\n");
    DotToLocaleDecimal(text);
    return ParseLocaleDecimal(text, value);
}

// "lon,lat[,alt]" into a position; anything unreadable or out of range gives none.
void ParseCoordinates(const CString& text, double& lon, double& lat)
{
    lon = lat = POI_NO_POSITION;
    int comma = text.Find(L',');
    if (comma < 0)
        return;
    CString rest = text.Mid(comma + 1);
    const int altitude = rest.Find(L',');
    if (altitude >= 0)
        rest.Truncate(altitude);
    double x = 0, y = 0;
    if (!ReadDotNumber(text.Left(comma), x) || !ReadDotNumber(rest, y))
        return;
    if (x < -180.0 || x > 180.0 || y < -90.0 || y > 90.0)
        return;
    lon = x;
    lat = y;
}

// The text of the only child named name; fails unless there is exactly one.
CString OnlyChildText(XmlNode node, const wchar_t* name)
{
    if (XmlCountChildElements(node, name) != 1)
        throw KmlFormatError();
    CString text;
    XmlGetNodeText(XmlGetChildElement(node, name, 0), text);
    return text;
}

// The text of the first child named name when there is one (else empty).
CString OptionalChildText(XmlNode node, const wchar_t* name)
{
    CString text;
    XmlElementPtr child = XmlGetChildElement(node, name, 0);
    if (child && !XmlGetNodeText(child, text))
        text.Empty();
    return text;
}

class KmlReader {
public:
    KmlReader(CDocPi& doc, int layout) : m_doc(doc), m_layout(layout) {}

    // The container's name and placemarks, then its folders, depth first.
    void ReadFolderTree(XmlNode container)
    {
        ReadContainer(container);
        for (XmlElementPtr folder = XmlGetChildElement(container, L"Folder", 0); folder;
             folder = XmlGetNextElement(folder, L"Folder"))
            ReadFolderTree(folder);
    }

    void ReadContainer(XmlNode container)
    {
        if (m_layout == LAYOUT_PLAIN) {
            if (XmlGetChildElement(container, L"name", 0))
                m_doc.SetFolderName(Shown(OptionalChildText(container, L"name")));
            else
                m_doc.SetFolderName(L"none title");
        } else {
            XmlElementPtr name = XmlGetChildElement(container, L"name", 0);
            if (!name)
                throw KmlFormatError();
            CString text;
            XmlGetNodeText(name, text);
            m_doc.SetFolderName(text);
        }
        // One walk over the children: looking each up by index would walk them again every time.
        for (XmlElementPtr placemark = XmlGetChildElement(container, L"Placemark", 0); placemark;
             placemark = XmlGetNextElement(placemark, L"Placemark")) {
            if (m_doc.GetRecordCount() >= POI_MAX_RECORDS)
                throw KmlTooManyRecords();
            ReadPlacemark(placemark);
        }
    }

private:
    void ReadPlacemark(XmlNode pm)
    {
        CDocPiRecord rec;
        rec.m_name = OnlyChildText(pm, L"name");
        XmlElementPtr point = XmlGetChildElement(pm, L"Point", 0);
        if (!point)
            throw KmlFormatError();
        ParseCoordinates(OnlyChildText(point, L"coordinates"), rec.m_longitude, rec.m_latitude);
        if (m_layout == LAYOUT_V1) {
            rec.m_address = OnlyChildText(pm, L"description");
            XmlElementPtr metadata = XmlGetChildElement(pm, L"metadata", 0);
            if (!metadata)
                throw KmlFormatError();
            rec.m_telephone = OnlyChildText(metadata, L"telephone");
            rec.m_description = OnlyChildText(metadata, L"additional_information");
        } else {
            rec.m_address = OptionalChildText(pm, L"address");
            rec.m_description = OptionalChildText(pm, L"description");
            if (m_layout == LAYOUT_PLAIN) {
                rec.m_telephone = OptionalChildText(pm, L"telephone");
            } else if (XmlElementPtr metadata = XmlGetChildElement(pm, L"metadata", 0)) {
                rec.m_telephone = OptionalChildText(metadata, L"telephone");
            }
        }
        DOCPI_RECORD fixed;
        rec.m_name = Shown(rec.m_name);
        rec.m_address = Shown(rec.m_address);
        rec.m_telephone = Shown(rec.m_telephone);
        rec.m_description = Shown(rec.m_description);
        rec.ToDocPiRecord(fixed);  // cut to the record's fields
        m_doc.AddRecord(fixed);
    }

    CDocPi& m_doc;
    int m_layout;
};

int DetectLayout(XmlNode docNode)
{
    if (XmlCountChildElements(docNode, L"MirovaleFileVersion") > 0) {
        CString text = OptionalChildText(docNode, L"MirovaleFileVersion");
        double version = 0;
        if (ReadDotNumber(text, version)) {
            if (version == 1.0)
                return LAYOUT_V1;
            if (version == 2.0)
                return LAYOUT_V2;
        }
        return LAYOUT_PLAIN;
    }
    return XmlSelectNode(L"metadata/igoicon", docNode, 0) ? LAYOUT_V1 : LAYOUT_PLAIN;
}

}  // namespace

BOOL CDocPi::Load(const wchar_t* path)
{
    m_errorCode = DOCERR_NONE;
    WIN32_FILE_ATTRIBUTE_DATA info{};
    if (path && GetFileAttributesExW(path, GetFileExInfoStandard, &info) &&
        ((static_cast<ULONGLONG>(info.nFileSizeHigh) << 32) | info.nFileSizeLow) > kMaxKmlFileBytes) {
        m_errorCode = PIERR_TOO_MANY;
        return FALSE;
    }
    CXmlDocument xml;
    XmlElementPtr root = path ? xml.Load(path) : XmlElementPtr();
    if (!root) {
        m_errorCode = DOCERR_READ;
        return FALSE;
    }
    XmlNodePtr docNode = XmlGetChildElement(root, L"Document", 0);
    if (!docNode)
        docNode = root;
    int layout = DetectLayout(docNode);
    const CDocIcon& icons = theGlobal.m_docIcon;

    // The file's icon.
    if (layout == LAYOUT_V1) {
        if (XmlNodePtr block = XmlSelectNode(L"metadata/igoicon", docNode, 0)) {
            if (!XmlGetChildElement(block, L"phase", 0)) {
                CString file = OptionalChildText(block, L"filename");
                for (int i = 0; i < icons.GetUserCount() && i < icons.m_userIconNames.GetSize(); ++i) {
                    if (icons.m_userIconNames[i] == file) {
                        m_defaultIcon = icons.GetStockCount() + i;
                        break;
                    }
                }
            } else if (IsV1Model(theGlobal.m_modelType)) {
                int phase = _wtoi(OptionalChildText(block, L"phase"));
                if (phase >= 0 && phase < icons.GetStockCount())
                    m_defaultIcon = phase;
            }
        }
    } else if (layout == LAYOUT_V2) {
        if (XmlNodePtr icon = XmlSelectNode(L"Folder/Placemark/metadata/icon", docNode, 0)) {
            if (XmlGetChildElement(icon, L"filename", 0)) {
                CString id = OptionalChildText(icon, L"filename");
                int stock = icons.ParseStockIconId(id);
                if (stock >= 0 && stock < icons.GetStockCount()) {
                    m_defaultIcon = stock;
                } else {
                    int user = icons.ParseUserIconId(id);
                    if (user >= 0)
                        m_defaultIcon = user;
                }
            }
        }
    }

    KmlReader reader(*this, layout);
    try {
        if (layout == LAYOUT_PLAIN)
            reader.ReadContainer(docNode);
        for (int i = 0;; ++i) {
            XmlElementPtr folder = XmlGetChildElement(docNode, L"Folder", i);
            if (!folder)
                break;
            reader.ReadFolderTree(folder);
        }
    } catch (const KmlTooManyRecords&) {
        m_errorCode = PIERR_TOO_MANY;
        return FALSE;
    } catch (const KmlFormatError&) {
        m_errorCode = DOCERR_READ;
        return FALSE;
    } catch (const CException&) {
        m_errorCode = DOCERR_READ;
        return FALSE;
    }
    m_modified = 1;
    return TRUE;
}

BOOL CDocPi::Save(const wchar_t* path)
{
    return WriteKml(path, 0, GetRecordCount());
}

BOOL CDocPi::WriteKml(const wchar_t* path, int first, int last)
{
    const CDocIcon& icons = theGlobal.m_docIcon;
    bool v1 = IsV1Model(theGlobal.m_modelType);
    // An icon the user has deleted since is written as the model's default
    // stock icon.
    int icon = m_defaultIcon;
    int user = icon - icons.GetStockCount();
    bool isUser = user >= 0 && user < icons.GetUserCount() && user < icons.m_userIconNames.GetSize();
    if (!isUser && (icon < 0 || icon >= icons.GetStockCount()))
        icon = v1 ? 2 : 1;
    if (last > GetRecordCount())
        last = GetRecordCount();
    if (first < 0)
        first = 0;
    if (!path || !*path) {
        m_errorCode = PIERR_WRITE_KML;
        return FALSE;
    }

    // Written straight from the records, element by element, in the form every
    // XML file of the program has (no DOM is built: thousands of records).
    CXmlStreamWriter xml(v1 ? XML_UTF8 : XML_UTF16);
    xml.Reserve(1024 + static_cast<size_t>(last > first ? last - first : 0) * 400);
    auto text = [&xml](const wchar_t* name, const CString& value) {
        xml.TextElement(name, value.GetString(), static_cast<size_t>(value.GetLength()));
    };
    // A record's field cut to what the unit holds (the record's Get... texts),
    // without a copy.
    auto field = [&xml](const wchar_t* name, const CString& value, int most) {
        xml.TextElement(name, value.GetString(), static_cast<size_t>(std::min(value.GetLength(), most)));
    };
    xml.StartElement(L"kml", L"xmlns", kKmlNamespace);
    xml.StartElement(L"Document");
    xml.TextElement(L"MirovaleFileVersion", v1 ? L"1.0" : L"2.0");

    // The icon block of the 1.0 layout: a stock icon by its phase, a user icon by its file.
    CString phase;
    phase.Format(L"%d", icon);
    const CString userIconName = isUser ? icons.GetUserIconName(user) : CString();
    auto iconBlock = [&] {
        xml.StartElement(L"igoicon");
        if (!isUser) {
            xml.TextElement(L"filename", L"poi_mapclose.spr");
            text(L"phase", phase);
        } else {
            text(L"filename", userIconName);
        }
        xml.EndElement();
    };
    if (v1) {
        xml.StartElement(L"metadata");
        iconBlock();
        xml.EndElement();
    }
    xml.StartElement(L"Folder");
    text(L"name", m_folderName);
    CString iconId;
    if (isUser)
        iconId = icons.GetIconIdString(icon);
    else
        iconId.Format(L"0x4102%04X", icon);
    for (int i = first; i < last; ++i) {
        const CDocPiRecord& r = m_records[i];
        xml.StartElement(L"Placemark");
        field(L"name", r.m_name, 64);
        if (v1) {
            field(L"description", r.m_address, 128);
        } else {
            field(L"address", r.m_address, 128);
            field(L"description", r.m_description, 64);
        }
        xml.StartElement(L"Point");
        text(L"coordinates", rss::CoordinatesText(r.m_longitude, r.m_latitude));
        xml.EndElement();
        xml.StartElement(L"metadata");
        field(L"telephone", r.m_telephone, 64);
        if (v1) {
            iconBlock();
            field(L"additional_information", r.m_description, 64);
        } else {
            xml.StartElement(L"icon");
            text(L"filename", iconId);
            xml.EndElement();
        }
        xml.EndElement();
        xml.EndElement();
    }
    std::string bytes;
    if (!xml.Finish(bytes) || !WriteFileReplacing(path, bytes.data(), bytes.size())) {
        m_errorCode = PIERR_WRITE_KML;
        return FALSE;
    }
    return TRUE;
}
