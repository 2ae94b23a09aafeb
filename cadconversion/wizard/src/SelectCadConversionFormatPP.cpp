// Page 1: converter discovery through the converter category, the choice
// of converter by class ID and the mult check on leaving the page.
#include "wizard/SelectCadConversionFormatPP.h"

#include "wizard/ComPointers.h"
#include "wizard/ProgramEnd.h"
#include "wizard/Resource.h"
#include "wizard/SelectJobGroupPP.h"

#include "com/Bstr.h"
#include "com/CodePage.h"
#include "com/Guid.h"

#include <cstdio>
#include <exception>
#include <memory>

namespace {

constexpr ULONG kBatchSize = 12;

// A failure of the categories manager itself, told apart from a failure of
// one converter.
struct CategoriesManagerFailure {
    HRESULT hr;
};

} // namespace

CSelectCadConversionFormatPP::CSelectCadConversionFormatPP() : CPropertyPage(IDD_SELECT_FORMAT) {}

void CSelectCadConversionFormatPP::DoDataExchange(CDataExchange* pDX)
{
    DDX_Control(pDX, IDC_FORMAT, m_formats);
    DDX_CBIndex(pDX, IDC_FORMAT, nFormatIndex);
    DDX_Check(pDX, IDC_METRIC, bIsMetric);
    DDX_Check(pDX, IDC_TOOL_METRIC, bIsToolMetric);
}

BOOL CSelectCadConversionFormatPP::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    DiscoverConverters();
    return TRUE;
}

// Lists every class of the converter category by its conversion name, the
// class ID kept as the entry's data. The program cannot work without a
// converter, so each failure here ends it after its message (with a
// non-zero exit status, so that a calling script sees it).
void CSelectCadConversionFormatPP::DiscoverConverters()
{
    try {
        CComPtr<ICatInformation> categories;
        if (const HRESULT hr = categories.CoCreateInstance(CLSID_StdComponentCategoriesMgr, nullptr,
                                                           CLSCTX_INPROC_SERVER);
            FAILED(hr))
            throw CategoriesManagerFailure{hr};
        CATID implemented[] = {CATID_VelmoraCadConversion};
        CATID required[] = {GUID_NULL};
        CComPtr<IEnumGUID> classes;
        if (categories->EnumClassesOfCategories(1, implemented, 1, required, &classes) != S_OK ||
            !classes) {
            // The system's own text ("\nOn"): keep it so.
            MessageBox("There are no CAD Conversion Components Installed\nOn this Computer");
            endProgram(1);
        }
        CLSID batch[kBatchSize];
        ULONG fetched = 0;
        bool first = true;
        do {
            fetched = 0;
            if (const HRESULT hr = classes->Next(kBatchSize, batch, &fetched); FAILED(hr))
                throw CategoriesManagerFailure{hr};
            if (first && fetched == 0) {
                MessageBox("There are no CAD Conversion Components Installed\non this Computer");
                endProgram(1);
            }
            first = false;
            for (ULONG i = 0; i < fetched; ++i) {
                IVLMRConvertPtr converter;
                if (const HRESULT hr = converter.CreateInstance(batch[i]); FAILED(hr))
                    _com_issue_error(hr);
                BSTR name = nullptr;
                if (const HRESULT hr = converter->get_ConversionName(&name); FAILED(hr))
                    _com_issue_errorex(hr, converter, IID_IVLMRConvert);
                const _bstr_t owned(name, false);
                const int index =
                    m_formats.AddString(owned.length() ? static_cast<const char*>(owned) : "");
                m_formats.SetItemData(index, reinterpret_cast<DWORD_PTR>(new CLSID(batch[i])));
            }
        } while (fetched == kBatchSize);
    } catch (const CategoriesManagerFailure&) {
        MessageBox("Standard Component Category Manager Failure\nThis program will TERMINATE");
        endProgram(1);
    } catch (const _com_error&) {
        MessageBox("Non-Specific Error\nThis program will TERMINATE");
        endProgram(1);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "quillfen: converter discovery failed: %s\n", e.what());
        endProgram(1);
    }
    UpdateData(FALSE);
}

BOOL CSelectCadConversionFormatPP::OnSetActive()
{
    UpdateData(FALSE);
    ::SendMessage(::GetParent(m_hWnd), PSM_SETWIZBUTTONS, 0, PSWIZB_NEXT);
    return CPropertyPage::OnSetActive();
}

// A converter that answers IVLMRMultConvert reads mult files, which carry
// no job and group: page 2 then asks for both.
LRESULT CSelectCadConversionFormatPP::OnWizardNext()
{
    UpdateData(TRUE);
    GUID clsid = GUID_NULL;
    GetSelectedCLSID(clsid);
    CComPtr<IVLMRMultConvert> mult;
    mult.CoCreateInstance(clsid, nullptr, CLSCTX_ALL);
    const bool partConverter = !mult;
    mult.Release();
    if (pJobGroupPage) {
        pJobGroupPage->SetJobSourceForConverter(partConverter);
        pJobGroupPage->SetGroupSourceForConverter(partConverter);
    }
    return CPropertyPage::OnWizardNext();
}

void CSelectCadConversionFormatPP::OnDestroy()
{
    while (m_formats.m_hWnd && m_formats.GetCount() > 0) {
        delete reinterpret_cast<CLSID*>(m_formats.GetItemData(0));
        m_formats.DeleteString(0);
    }
    CPropertyPage::OnDestroy();
}

void CSelectCadConversionFormatPP::GetSelectedCLSID(GUID& clsid)
{
    if (!m_hWnd)
        return;
    UpdateData(TRUE);
    if (nFormatIndex < 0 || nFormatIndex >= m_formats.GetCount())
        return;
    clsid = *reinterpret_cast<const CLSID*>(m_formats.GetItemData(nFormatIndex));
}

void CSelectCadConversionFormatPP::GetSelectedCLSIDString(std::string& text)
{
    GUID clsid = GUID_NULL;
    GetSelectedCLSID(clsid);
    LPOLESTR wide = nullptr;
    if (SUCCEEDED(StringFromCLSID(clsid, &wide))) {
        text = narrowFromWide(wide);
        CoTaskMemFree(wide);
    }
}

void CSelectCadConversionFormatPP::SetSelectedCLSIDString(const std::string& text)
{
    nFormatIndex = -1;
    if (!m_hWnd)
        return;
    CLSID clsid{};
    const std::u16string wide = wideFromNarrow(text);
    if (SUCCEEDED(CLSIDFromString(wide.c_str(), &clsid)))
        for (int i = 0; i < m_formats.GetCount(); ++i)
            if (*reinterpret_cast<const CLSID*>(m_formats.GetItemData(i)) == clsid) {
                nFormatIndex = i;
                break;
            }
    UpdateData(FALSE);
}
