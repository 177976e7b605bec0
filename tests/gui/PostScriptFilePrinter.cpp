#include "gui/PostScriptFilePrinter.h"

#include <winspool.h>

#include <vector>

namespace {
const char kPrinterName[] = "Lumigrab Test PostScript";
const char kPortName[] = "LUMIGRABTEST:";
const char kSpoolerKey[] = "Software\\Wine\\Printing\\Spooler";

// The Unix name Wine gives a Windows path, for the spooler's port mapping.
std::string UnixPathOf(const std::string& path)
{
    using UnixName = char*(__cdecl*)(const WCHAR*);
    auto toUnix = reinterpret_cast<UnixName>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    if (!toUnix)
        return {};
    std::vector<WCHAR> wide(path.size() + 1);
    MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide.data(), static_cast<int>(wide.size()));
    char* unixName = toUnix(wide.data());
    if (!unixName)
        return {};
    std::string result = unixName;
    HeapFree(GetProcessHeap(), 0, unixName);
    return result;
}

// Wine's generic printer description, resource 1 of type PPDFILE in its spooler.
bool WriteGenericPpd(const std::string& path)
{
    HMODULE spooler = GetModuleHandleA("winspool.drv");
    HRSRC resource = spooler ? FindResourceA(spooler, MAKEINTRESOURCEA(1), "PPDFILE") : nullptr;
    const char* data = resource ? static_cast<const char*>(LockResource(LoadResource(spooler, resource))) : nullptr;
    if (!data)
        return false;
    DWORD size = SizeofResource(spooler, resource), length = 0;
    while (length < size && data[length])
        ++length;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const bool ok = WriteFile(file, data, length, &written, nullptr) && written == length;
    CloseHandle(file);
    return ok;
}
}

int InstalledPrinterCount()
{
    DWORD needed = 0, count = 0;
    EnumPrintersA(PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS, nullptr, 4, nullptr, 0, &needed, &count);
    if (!needed)
        return 0;
    std::vector<BYTE> buffer(needed);
    if (!EnumPrintersA(PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS, nullptr, 4, buffer.data(), needed, &needed,
                       &count))
        return 0;
    return static_cast<int>(count);
}

CPostScriptFilePrinter::CPostScriptFilePrinter(const std::string& outputPath)
{
    char previous[256] = {};
    DWORD size = sizeof previous;
    if (GetDefaultPrinterA(previous, &size))
        m_strPreviousDefault = previous;
    RemoveLeftOver();
    m_bInstalled = Install(outputPath);
}

CPostScriptFilePrinter::~CPostScriptFilePrinter()
{
    RemoveLeftOver();
    if (!m_strPreviousDefault.empty())
        SetDefaultPrinterA(m_strPreviousDefault.c_str());
}

bool CPostScriptFilePrinter::Install(const std::string& outputPath)
{
    const std::string unixOutput = UnixPathOf(outputPath);
    char ppd[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, ppd);
    lstrcatA(ppd, "lumigrab-test.ppd");
    if (unixOutput.empty() || !WriteGenericPpd(ppd))
        return false;
    HKEY spooler = nullptr;
    if (RegCreateKeyA(HKEY_CURRENT_USER, kSpoolerKey, &spooler) != ERROR_SUCCESS)
        return false;
    RegSetValueExA(spooler, kPortName, 0, REG_SZ, reinterpret_cast<const BYTE*>(unixOutput.c_str()),
                   static_cast<DWORD>(unixOutput.size() + 1));
    RegCloseKey(spooler);

    DRIVER_INFO_3A driver{};
    driver.cVersion = 3;
    driver.pName = const_cast<char*>(kPrinterName);
    driver.pDriverPath = const_cast<char*>("wineps.drv");
    driver.pDataFile = ppd;
    driver.pConfigFile = const_cast<char*>("wineps.drv");
    driver.pDefaultDataType = const_cast<char*>("RAW");
    const bool driverAdded = AddPrinterDriverExA(nullptr, 3, reinterpret_cast<BYTE*>(&driver),
                                                 APD_COPY_NEW_FILES | APD_COPY_FROM_DIRECTORY) != FALSE;
    DeleteFileA(ppd);
    if (!driverAdded)
        return false;

    // The PostScript comes out of the driver finished: the job passes through as it is.
    PRINTER_INFO_2A printer{};
    printer.pPrinterName = const_cast<char*>(kPrinterName);
    printer.pDriverName = const_cast<char*>(kPrinterName);
    printer.pPortName = const_cast<char*>(kPortName);
    printer.pPrintProcessor = const_cast<char*>("winprint");
    printer.pDatatype = const_cast<char*>("RAW");
    printer.pParameters = const_cast<char*>("");
    printer.pShareName = const_cast<char*>("");
    printer.pSepFile = const_cast<char*>("");
    HANDLE added = AddPrinterA(nullptr, 2, reinterpret_cast<BYTE*>(&printer));
    if (!added)
        return false;
    ClosePrinter(added);
    return SetDefaultPrinterA(kPrinterName) != FALSE;
}

void CPostScriptFilePrinter::RemoveLeftOver()
{
    HANDLE printer = nullptr;
    PRINTER_DEFAULTSA access{nullptr, nullptr, PRINTER_ALL_ACCESS};
    if (OpenPrinterA(const_cast<char*>(kPrinterName), &printer, &access)) {
        DeletePrinter(printer);
        ClosePrinter(printer);
    }
    DeletePrinterDriverExA(nullptr, nullptr, const_cast<char*>(kPrinterName), 0, 0);
    HKEY spooler = nullptr;
    if (RegOpenKeyA(HKEY_CURRENT_USER, kSpoolerKey, &spooler) == ERROR_SUCCESS) {
        RegDeleteValueA(spooler, kPortName);
        RegCloseKey(spooler);
    }
}
