#pragma once
// The drive reports the user imported from the unit, one per track file, in
// import order; a report's index is its position.
#include "doc/Doc.h"
#include "doc/DrivingReport.h"

class CDocDr : public CDoc {
public:
    // Imports one GPX or LTB track file as a new report; FALSE (document
    // unchanged, no error code) for another extension or an unreadable file.
    BOOL Load(const wchar_t* path) override;
    BOOL Save(const wchar_t*) override { return ReturnTrue(); }

    BOOL GetListData(int index, DR_LIST_DATA& out) const;
    BOOL GetReport(int index, CDocDrivingReport& out) const;
    void SetSamplingAll(int scale);
    // Earliest start, latest end, summed distance and duration of the checked reports.
    void BuildTotalSummary(DR_PROPERTY_DATA& out) const;
    BOOL BuildReportSummary(int index, DR_PROPERTY_DATA& out) const;
    // Shares in percent of the report's starts; FALSE with the outputs untouched
    // for a bad index or model type, FALSE with zeros when nothing was rated.
    BOOL GetEcoScore(int index, int modelType, int& gentle, int& light, int& medium, int& hard) const;

    int GetCount() const { return static_cast<int>(m_reports.GetSize()); }

    CArray<CDocDrivingReport> m_reports;
};
