#pragma once
// Base of the converter tests: a fresh folder, the version key reset before
// and after, and calls of StartConvert.
//
// The version key is machine state that every conversion changes, so each
// test holds the named mutex "MirovaleRunemarkRegistry" for its whole run;
// other test programs that convert should take it too.
#include "SymbolFileReader.h"
#include "TestBitmaps.h"
#include "TestFiles.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace symboltest {

std::string Ansi(const std::wstring& text);
std::wstring Wide(const std::string& text);

// Deletes HKLM "Software\Runemark" (the view a 32-bit program sees).
void DeleteVersionKey();

class ConverterTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Calls StartConvert with writable copies of the words.
    static int Convert(const std::vector<std::string>& words);
    // The same, also giving what the call printed on standard output.
    int ConvertPrinting(const std::vector<std::string>& words, std::string& printed);

    // The test's folder (ANSI, no trailing backslash), or a path inside it.
    std::string Path(const std::string& relative = std::string()) const;
    std::wstring WPath(const std::string& relative) const { return Wide(Path(relative)); }
    // Writes bytes to a file of the test's folder, making its sub-folder.
    void Put(const std::string& relative, const Bytes& bytes) const;
    void Put(const std::string& relative, const std::string& text) const;
    void MakeFolder(const std::string& relative) const;
    bool Exists(const std::string& relative) const;
    // Names of the files in a folder of the test's folder, in directory order.
    std::vector<std::string> List(const std::string& relative, const std::string& pattern = "*") const;

    // Converts the folder "res" of the test's folder with the options given
    // before it, as the program does (group number 1); the output is "res.symb"
    // unless a group name follows.
    int ConvertRes(const std::vector<std::string>& options = {}, const std::string& group = std::string());
    ::testing::AssertionResult ReadRes(SymbolFile& file, const std::string& name = "RES.symb") const;

    testsupport::TempDir m_dir;

private:
    HANDLE m_lock = nullptr;
};

}  // namespace symboltest
