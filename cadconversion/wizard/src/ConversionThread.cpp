// The conversion worker: one converter per run, each listed file handed to
// it in turn, every part or mult it returns completed with job and group
// and saved, the file's list entry marked and the log written. What the
// page shows goes through the block's display, so that the worker never
// waits for the user-interface thread while it converts.
#include "wizard/ConversionThread.h"

#include "wizard/ComPointers.h"
#include "wizard/ConversionLog.h"
#include "wizard/WizardSettings.h"

#include "com/Bstr.h"
#include "com/CodePage.h"

#include <string>

namespace {

constexpr const char* kComplete = "     Complete";
constexpr const char* kError = "     Error";
constexpr const char* kNonSpecific = "Non-Specific";

std::string narrow(const _bstr_t& text)
{
    return text.length() ? std::string(static_cast<const char*>(text)) : std::string();
}

// The description of a COM error's error info, "Non-Specific" when it
// carries none.
std::string describe(const _com_error& error)
{
    const std::string description = narrow(error.Description());
    return description.empty() ? kNonSpecific : description;
}

template <class I>
void check(HRESULT hr, I* object)
{
    if (FAILED(hr))
        _com_issue_errorex(hr, object, uuidof<I>());
}

enum class FileOutcome { Completed, Stopped };

class ConversionRun {
public:
    explicit ConversionRun(ConversionThreadParams& params) : m_params(params) {}

    DWORD run();

private:
    void createConverter();
    FileOutcome convertFile(const std::string& entry);
    HRESULT read(IUnknownPtr& object);
    template <class Part>
    void completePart(Part* part, _bstr_t& job, _bstr_t& group, _bstr_t& mark);
    void completeMult(ICADMult* mult);
    void save(IUnknown* object, _bstr_t& job, _bstr_t& group, _bstr_t& mark, bool& stopped);
    void showCurrent(const _bstr_t& job, const _bstr_t& group, const _bstr_t& mark);
    void reportFileError(const std::string& message);
    bool stop() const { return WaitWhilePaused(m_params); }

    ConversionThreadParams& m_params;
    ConversionLog m_log;
    bool m_logging = false;
    IVLMRConvertPtr m_converter;
    IVLMRMultConvertPtr m_multConverter;
};

DWORD ConversionRun::run()
{
    if (m_params.bUseLogFile) {
        m_logging = m_log.open(m_params.pszLogFile);
        if (m_logging)
            m_log.writeBegin();
        else
            AfxMessageBox((std::string("The log file ") +
                           (m_params.pszLogFile ? m_params.pszLogFile : "") +
                           " cannot be opened.\nThe files are converted without a log.")
                              .c_str(),
                          MB_OK | MB_ICONEXCLAMATION | MB_SYSTEMMODAL);
    }
    try {
        createConverter();
    } catch (const _com_error& error) {
        // The run cannot start; nothing further goes into the log.
        const std::string description = narrow(error.Description());
        AfxMessageBox(("The CAD conversion component cannot be started.\n" +
                       (description.empty() ? std::string(error.ErrorMessage()) : description))
                          .c_str(),
                      MB_OK | MB_ICONSTOP | MB_SYSTEMMODAL);
        m_log.close();
        return 0;
    }
    const int count = static_cast<int>(m_params.files.size());
    for (int i = 0; i < count; ++i) {
        m_params.display.select(i);
        const std::string& entry = m_params.files[static_cast<std::size_t>(i)];
        std::string marked;
        try {
            if (convertFile(entry) == FileOutcome::Stopped)
                break;
            if (m_logging)
                m_log.write("File Completed\r\n");
            marked = entry + kComplete;
        } catch (const _com_error& error) {
            reportFileError(describe(error));
            marked = entry + kError;
        } catch (...) {
            // Not a COM error (say, memory ran out): reported the same way,
            // and the run goes on with the next file.
            reportFileError(kNonSpecific);
            marked = entry + kError;
        }
        m_params.display.mark(i, std::move(marked));
    }
    if (m_logging)
        m_log.write("CAD Conversion Completed\r\n");
    m_log.close();
    return 0;
}

// Created as IUnknown, run, then asked for IVLMRConvert; a mult converter
// also answers IVLMRMultConvert.
void ConversionRun::createConverter()
{
    if (const HRESULT hr = m_converter.CreateInstance(m_params.clsidConverter); FAILED(hr))
        _com_issue_error(hr);
    if (!m_converter)
        _com_issue_error(E_POINTER);
    m_multConverter = m_converter.GetInterfacePtr();
}

// Converts one file: every part or mult the converter reads from it is
// completed and saved. Parts saved before an error stay saved.
FileOutcome ConversionRun::convertFile(const std::string& entry)
{
    const _bstr_t file(entry.c_str());
    check(m_converter->SetFile(file.copy(false)), m_converter.GetInterfacePtr());
    if (stop())
        return FileOutcome::Stopped;
    if (m_logging)
        m_log.write("Converting File " + entry + "\r\n");
    _bstr_t job(m_params.pszJobId);
    _bstr_t group(m_params.pszGroup);
    _bstr_t mark("");
    IUnknownPtr object;
    HRESULT hr = read(object);
    while (hr == S_OK) {
        bool stopped = false;
        save(object, job, group, mark, stopped);
        if (stopped)
            return FileOutcome::Stopped;
        hr = read(object);
    }
    if (FAILED(hr)) {
        if (m_multConverter)
            check(hr, m_multConverter.GetInterfacePtr());
        check(hr, m_converter.GetInterfacePtr());
    }
    return stop() ? FileOutcome::Stopped : FileOutcome::Completed;
}

// The object of the previous read is let go first.
HRESULT ConversionRun::read(IUnknownPtr& object)
{
    object = nullptr;
    if (m_multConverter)
        return m_multConverter->ReadMult(&object);
    return m_converter->ReadPart(&object, m_params.bIsMetric, m_params.bIsToolMetric);
}

void ConversionRun::save(IUnknown* object, _bstr_t& job, _bstr_t& group, _bstr_t& mark,
                         bool& stopped)
{
    ICADPartPtr part(object);
    ICADPart2Ptr part2(object);
    ICADMultPtr mult(object);
    auto saveWith = [&](auto* target) {
        showCurrent(job, group, mark);
        if ((stopped = stop()))
            return;
        check(target->SaveToTarsis(), target);
        if (m_logging)
            m_log.write("Converted " + narrow(job) + "  " + narrow(group) + "  " + narrow(mark) +
                        "\r\n");
        stopped = stop();
    };
    if (part) {
        completePart(part.GetInterfacePtr(), job, group, mark);
        saveWith(part.GetInterfacePtr());
    } else if (part2) {
        completePart(part2.GetInterfacePtr(), job, group, mark);
        saveWith(part2.GetInterfacePtr());
    } else if (mult) {
        completeMult(mult);
        saveWith(mult.GetInterfacePtr());
    } else {
        // S_OK without a part or mult: the converter broke its contract.
        _com_issue_error(object ? E_NOINTERFACE : E_POINTER);
    }
}

// Job and group come from the part or go into it; the mark always comes
// from the part. Failures of the puts are not errors of the file.
template <class Part>
void ConversionRun::completePart(Part* part, _bstr_t& job, _bstr_t& group, _bstr_t& mark)
{
    BSTR value = nullptr;
    if (m_params.bUseJobId) {
        check(part->get_JobId(&value), part);
        job = _bstr_t(value, false);
        value = nullptr;
    } else {
        part->put_JobId(job.copy(false));
    }
    if (m_params.bUseGroup) {
        check(part->get_Group(&value), part);
        group = _bstr_t(value, false);
        value = nullptr;
    } else {
        part->put_Group(group.copy(false));
    }
    check(part->get_Mark(&value), part);
    mark = _bstr_t(value, false);
    check(part->SetMetric(m_params.bIsMetric), part);
}

// A mult carries no job or group of its own: the typed ones go into it.
void ConversionRun::completeMult(ICADMult* mult)
{
    if (!m_params.bUseJobId)
        mult->put_JobId(_bstr_t(m_params.pszJobId).copy(false));
    if (!m_params.bUseGroup)
        mult->put_Group(_bstr_t(m_params.pszGroup).copy(false));
    check(mult->SetMetric(m_params.bIsMetric), mult);
}

void ConversionRun::showCurrent(const _bstr_t& job, const _bstr_t& group, const _bstr_t& mark)
{
    m_params.display.show(narrow(job), narrow(group), narrow(mark));
}

void ConversionRun::reportFileError(const std::string& message)
{
    if (m_logging)
        m_log.write(message + "\r\n\tConversion On File Aborted\r\n\r\n");
    else
        AfxMessageBox(message.c_str(), MB_OK | MB_ICONSTOP | MB_SYSTEMMODAL);
}

// The run's settings become the profile's, as the page held them when
// Convert was pressed (the help file is not the page's to save).
void saveSettings(const ConversionThreadParams& params)
{
    CWinApp* app = AfxGetApp();
    if (!app)
        return;
    WizardSettings settings;
    LPOLESTR clsid = nullptr;
    if (SUCCEEDED(StringFromCLSID(params.clsidConverter, &clsid))) {
        settings.clsid = narrowFromWide(clsid);
        CoTaskMemFree(clsid);
    }
    settings.useJobId = params.bUseJobId;
    settings.jobId = params.pszJobId ? params.pszJobId : "";
    settings.useGroup = params.bUseGroup;
    settings.group = params.pszGroup ? params.pszGroup : "";
    settings.useLogFile = params.bUseLogFile;
    settings.logFile = params.pszLogFile ? params.pszLogFile : "";
    settings.saveConversion(*app);
}

} // namespace

bool WaitWhilePaused(const ConversionThreadParams& params)
{
    while (params.nState.load() == kConversionPaused)
        Sleep(50);
    return params.nState.load() == kConversionCancel;
}

DWORD ConversionThreadProc(LPVOID parameter)
{
    auto& params = *static_cast<ConversionThreadParams*>(parameter);
    const DWORD run = params.nRun;
    const bool ole = SUCCEEDED(OleInitialize(nullptr));
    DWORD code = 0;
    {
        ConversionRun conversion(params);
        try {
            saveSettings(params);
            code = conversion.run();
        } catch (...) {
            // Nothing may leave the thread; what is written stays written.
            code = 1;
        }
    }
    if (ole)
        OleUninitialize();
    // The run has ended once the page shows all of it.
    while (::SendMessage(params.hWndPage, WM_CONVERSION_SHOW, 0, 1) != 0) {
    }
    ::PostMessage(params.hWndPage, WM_CONVERSION_ENDED, run, 0);
    return code;
}
