// DSTVMultReader: the ReadMult frame (mult creation, the BA block, the way
// of process, the PI pieces, the machine and piece checks with their
// dialogs, the filling of the mult) and its error reports.
#include "DSTVMultReader.h"

#include "ChangeMultPartDlg.h"
#include "MultNameDlg.h"
#include "MultPartData.h"

#include "com/ComBstr.h"
#include "com/ComError.h"

#include <memory>
#include <utility>

namespace {

// A failure whose text is the whole report.
struct ReadFailure {
    CString text;
};

// The array deletes the objects it holds when it goes.
template <class T>
class OwnedElements : public CDynamicArray<T*> {
public:
    OwnedElements() = default;
    ~OwnedElements() override
    {
        for (int i = 0; i < this->GetSize(); ++i)
            delete this->GetAt(i);
    }
};

CComBSTR bstrOf(const CString& text)
{
    return CComBSTR(static_cast<const char*>(text));
}

bool isWayOfProcess(const CString& letter)
{
    for (const char* known : {"v", "V", "h", "H", "n", "N"})
        if (letter == known)
            return true;
    return false;
}

// Runs a dialog modally from the reader's thread; a dialog that cannot be
// made is a failure, not an answer.
template <class Dialog>
INT_PTR runDialog(Dialog& dialog, const ui::DialogTemplate& dialogTemplate)
{
    const INT_PTR result = dialog.DoModal(GetActiveWindow());
    if (result == -1) {
        throw ReadFailure{CString("The dialog \"") + dialogTemplate.caption.c_str() +
                          "\" could not be shown."};
    }
    return result;
}

} // namespace

// The BA block's fields that the reader uses or tests.
struct DSTVMultReader::Bar {
    CString strMultName;
    CString strRunNumber;
    CString strMachine;
    CString strGrade;
    double dKerf = 0; // inches
    CString strWayOfProcess;
    CString wayOfProcessRest; // what follows the word on its line
};

DSTVMultReader::DSTVMultReader(MultCreator createMult) : m_createMult(std::move(createMult)) {}

void DSTVMultReader::SplitByDelimiter(const CString& text, char delimiter,
                                      CDynamicArray<CString*>* pieces)
{
    CString rest = text;
    for (int p = rest.Find(delimiter); p >= 0; p = rest.Find(delimiter)) {
        auto piece = std::make_unique<CString>(rest.Left(p));
        pieces->Add(piece.get());
        piece.release();
        if (p + 1 >= rest.GetLength())
            return;
        rest = rest.Mid(p + 1);
    }
    if (!rest.IsEmpty()) {
        auto piece = std::make_unique<CString>(rest);
        pieces->Add(piece.get());
        piece.release();
    }
}

void DSTVMultReader::checkMult(HRESULT hr)
{
    if (FAILED(hr))
        _com_issue_errorex(hr, m_pCADMult.GetInterfacePtr(), IID_ICADMult);
}

HRESULT DSTVMultReader::createMult(IUnknown** ppIUnkCADMult)
{
    *ppIUnkCADMult = nullptr;
    const HRESULT hr = makeNextObject(m_createMult, m_pCADMult, false);
    if (FAILED(hr) || !m_pCADMult)
        return E_CONVERT_READ;
    return m_pCADMult->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(ppIUnkCADMult));
}

HRESULT DSTVMultReader::ReadMult(IUnknown** ppIUnkCADMult, BSTR* pbstrErrorText)
{
    freeText(pbstrErrorText);
    OwnedElements<CMultPartData> pieces;
    try {
        m_dProfileValue9 = m_dProfileValue10 = m_dProfileValue11 = m_dProfileValue12 = 0;
        m_dValue14 = 0;
        m_dBarLength = 0;

        if (m_NCFile.GetPosition() == m_NCFile.GetFileLength()) {
            CloseNCFile();
            return S_FALSE;
        }
        // No place for the mult: the wrapper reports the result itself.
        if (!ppIUnkCADMult)
            return E_POINTER;
        if (createMult(ppIUnkCADMult) != S_OK) {
            setText(pbstrErrorText, "Failed to create CLSID_CADMult. It may not be registered");
            return E_CONVERT_READ;
        }

        CBreakString line;
        CString word;
        ReadNCLine(&line);
        line.TrimWhiteSpace();
        line.BreakText(&word);
        if (word != "BA") {
            CloseNCFile();
            setText(pbstrErrorText, withFileAndLine("Code Block BA was not found."));
            return E_CONVERT_READ;
        }
        Bar bar;
        readBar(&bar);
        CString wayOfProcessError;
        if (!checkWayOfProcess(bar, &wayOfProcessError)) {
            setText(pbstrErrorText, withFileAndLine(wayOfProcessError));
            return E_CONVERT_READ;
        }

        line.Empty();
        ReadNCLine(&line);
        line.TrimWhiteSpace();
        line.BreakText(&word);
        if (word != "PI") {
            CloseNCFile();
            setText(pbstrErrorText, withFileAndLine("Code Block PI was not found."));
            return E_CONVERT_READ;
        }
        readPieces(&pieces);

        if (!settleMachine(bar.strMachine) || !settlePieces(&pieces)) {
            m_NCFile.SeekToEnd();
            return S_FALSE;
        }
        fillMult(bar, &pieces);
        m_NCFile.SeekToEnd();
        return S_OK;
    } catch (const ReadFailure& failure) {
        setText(pbstrErrorText, withFileAndLine(failure.text));
    } catch (...) {
        // The system's own fallbacks ("Reading Mult"): keep them so.
        setText(
            pbstrErrorText,
            withFileAndLine(readFailureText(
                {"Numeric Conversion Error while Reading Mult", "Unexpected EOF while reading mult",
                 "Com Error while reading mult", "Unexpected Error while reading mult"})));
    }
    return E_CONVERT_READ;
}

// ---- the BA block ----------------------------------------------------------------

void DSTVMultReader::nextBarLine(CBreakString* line)
{
    // At the end of the file the line keeps what the previous field left.
    ReadNCLine(line);
    line->TrimWhiteSpace();
}

void DSTVMultReader::readBar(Bar* bar)
{
    CBreakString line;
    CString text;
    int integer = 0;
    // An optional number is taken only from a line that is not empty.
    auto optionalLength = [&](double* value) {
        nextBarLine(&line);
        if (!line.IsEmpty()) {
            line.BreakDouble(value);
            *value /= 25.4;
        }
    };

    nextBarLine(&line); // 1
    line.BreakText(&bar->strMultName);
    nextBarLine(&line); // 2
    line.BreakText(&bar->strRunNumber);
    nextBarLine(&line); // 3
    line.BreakText(&bar->strMachine);
    nextBarLine(&line); // 4
    line.BreakText(&bar->strGrade);
    nextBarLine(&line); // 5 number of bars required
    line.BreakInteger(&integer);
    nextBarLine(&line); // 6 profile type
    line.BreakText(&text);
    nextBarLine(&line); // 7 profile code; "I" reads as "W", not passed on
    line.BreakText(&text);
    nextBarLine(&line); // 8 bar length, required
    line.BreakDouble(&m_dBarLength);
    m_dBarLength /= 25.4;
    optionalLength(&m_dProfileValue9);
    optionalLength(&m_dProfileValue10);
    optionalLength(&m_dProfileValue11);
    optionalLength(&m_dProfileValue12);
    double radius = 0;
    optionalLength(&radius); // 13
    nextBarLine(&line);      // 14, taken as it stands
    if (!line.IsEmpty())
        line.BreakDouble(&m_dValue14);
    for (int info = 15; info <= 18; ++info) {
        nextBarLine(&line);
        if (!line.IsEmpty())
            line.BreakText(&text);
    }
    optionalLength(&bar->dKerf); // 19
    double fillerWidth = 0;
    optionalLength(&fillerWidth); // 20
    nextBarLine(&line);           // 21 way of process
    line.BreakText(&bar->strWayOfProcess);
    bar->wayOfProcessRest = line;
}

bool DSTVMultReader::checkWayOfProcess(const Bar& bar, CString* errorText)
{
    OwnedElements<CString> pieces;
    SplitByDelimiter(bar.strWayOfProcess, ';', &pieces);
    if (pieces.GetSize() != 4 || !isWayOfProcess(*pieces.GetAt(0))) {
        // The system's own text ("Formate"): keep it so.
        *errorText = "Illegal File Formate. " + bar.wayOfProcessRest;
        return false;
    }
    // The minimum trim and drop lengths are read for their syntax only.
    for (int i = 1; i <= 2; ++i) {
        CBreakString length = *pieces.GetAt(i);
        double value = 0;
        if (!length.IsEmpty())
            length.BreakDouble(&value);
    }
    return true;
}

// ---- the PI block ----------------------------------------------------------------

void DSTVMultReader::readPieces(CDynamicArray<CMultPartData*>* pieces)
{
    CBreakString line;
    while (ReadNCLine(&line)) {
        line.TrimWhiteSpace();
        // A blank line carries no piece.
        if (line.IsEmpty())
            continue;
        const CString whole = line;
        CString word;
        line.BreakText(&word);
        OwnedElements<CString> fields;
        SplitByDelimiter(word, ';', &fields);
        if (fields.GetSize() < 7) {
            CString count;
            count.Format("%d", fields.GetSize());
            throw ReadFailure{CString("Piece line \"") + whole + "\" has " + count +
                              " of the 7 fields separated by ';'."};
        }
        auto piece = std::make_unique<CMultPartData>();
        piece->strPieceField0 = *fields.GetAt(0);
        piece->strPieceField1 = *fields.GetAt(1);
        piece->strJob = *fields.GetAt(2);
        piece->strPieceField3 = *fields.GetAt(3);
        piece->strGroup = *fields.GetAt(4);
        piece->strMark = *fields.GetAt(5);
        CBreakString quantity = *fields.GetAt(6);
        quantity.BreakInteger(&piece->nQuantity);
        pieces->Add(piece.get());
        piece.release();
    }
}

// ---- the machine and the pieces against the database -------------------------------

bool DSTVMultReader::settleMachine(const CString& machine)
{
    checkMult(m_pCADMult->put_Machine(bstrOf(machine)));
    CComBSTR unknownName;
    const HRESULT hr = m_pCADMult->CheckMachine(&unknownName);
    checkMult(hr);
    if (hr != S_FALSE && unknownName.Length() == 0)
        return true;
    CCMultNameDlg dialog(m_pCADMult.GetInterfacePtr(), unknownName, bstrOf(m_NCFile.GetFileName()));
    // The dialog has stored the accepted machine in the mult.
    return runDialog(dialog, multNameTemplate()) != IDCANCEL;
}

bool DSTVMultReader::settlePieces(CDynamicArray<CMultPartData*>* pieces)
{
    CChangeMultPartDlg dialog(bstrOf(m_NCFile.GetFileName()));
    bool missing = false;
    for (int i = 0; i < pieces->GetSize(); ++i) {
        const CMultPartData* piece = pieces->GetAt(i);
        const CComBSTR job = bstrOf(piece->strJob);
        const CComBSTR group = bstrOf(piece->strGroup);
        const CComBSTR mark = bstrOf(piece->strMark);
        const HRESULT hr = m_pCADMult->CheckPart(job, group, mark);
        checkMult(hr);
        if (hr != S_OK) {
            dialog.AddMissingPart(i, job, group, mark);
            missing = true;
        }
    }
    if (!missing)
        return true;
    if (runDialog(dialog, changeMultPartTemplate()) != IDOK)
        return false;
    // Every piece is looked for under the new job and group; none is
    // checked again.
    const CString newJob(static_cast<const OLECHAR*>(dialog.NewJob()));
    const CString newGroup(static_cast<const OLECHAR*>(dialog.NewGroup()));
    for (int i = 0; i < pieces->GetSize(); ++i) {
        pieces->GetAt(i)->strJob = newJob;
        pieces->GetAt(i)->strGroup = newGroup;
    }
    return true;
}

// ---- the mult ------------------------------------------------------------------------

void DSTVMultReader::fillMult(const Bar& bar, CDynamicArray<CMultPartData*>* pieces)
{
    checkMult(m_pCADMult->put_Mark(bstrOf(bar.strMultName)));
    CBreakString runNumber = bar.strRunNumber;
    int quantity = 0;
    runNumber.BreakInteger(&quantity);
    checkMult(m_pCADMult->put_Quantity(quantity));
    checkMult(m_pCADMult->put_Grade(bstrOf(bar.strGrade)));
    // The mult takes the section of its first piece.
    CComBSTR section;
    CComBSTR description;
    if (pieces->GetSize() > 0) {
        const CMultPartData* first = pieces->GetAt(0);
        checkMult(m_pCADMult->GetMultSectionAndDescription(
            bstrOf(first->strJob), bstrOf(first->strGroup), bstrOf(first->strMark), &section,
            &description));
    }
    if (!section)
        section = "";
    if (!description)
        description = "";
    checkMult(m_pCADMult->put_Section(section));
    m_pCADMult->put_SectionDescription(description);
    checkMult(m_pCADMult->put_Length(m_dBarLength));
    checkMult(m_pCADMult->put_Kerf(bar.dKerf));
    for (int i = 0; i < pieces->GetSize(); ++i) {
        const CMultPartData* piece = pieces->GetAt(i);
        checkMult(m_pCADMult->AddPart(bstrOf(piece->strJob), bstrOf(piece->strGroup),
                                      bstrOf(piece->strMark), piece->nQuantity));
    }
}
