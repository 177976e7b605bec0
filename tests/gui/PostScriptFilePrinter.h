#pragma once
#include <windows.h>

#include <string>

// A printer of Wine's PostScript driver, installed for one test as the default
// printer, whose jobs land in a file: its port is mapped to the file under
// HKCU\Software\Wine\Printing\Spooler. The driver's description is the generic one
// Wine keeps in winspool.drv. Removed again, with the previous default restored, when
// the object goes. Installed() is false outside Wine.
class CPostScriptFilePrinter {
public:
    explicit CPostScriptFilePrinter(const std::string& outputPath);
    ~CPostScriptFilePrinter();
    CPostScriptFilePrinter(const CPostScriptFilePrinter&) = delete;
    CPostScriptFilePrinter& operator=(const CPostScriptFilePrinter&) = delete;

    bool Installed() const { return m_bInstalled; }

    // Removes a printer of this kind left behind by a test that did not finish.
    static void RemoveLeftOver();

private:
    bool Install(const std::string& outputPath);

    bool m_bInstalled = false;
    std::string m_strPreviousDefault;
};

// The number of printers the system knows.
int InstalledPrinterCount();
