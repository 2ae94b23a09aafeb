// DSTVMultReader: reads one DSTV bar file (the BA block of the bar, the PI
// block of its pieces) into a new mult object (CADMult, through ICADMult).
// The file is in millimetres; the mult gets inches.
//
// When the database does not know the bar's machine or some of its pieces,
// ReadMult opens the machine name dialog or the mult parts dialog and waits
// for the user; it must then be called on a worker thread while the GUI
// thread keeps dispatching messages.
//
// One reader is embedded in the bar converter object and is used on one
// thread at a time. It owns the open file between SetFile and the end of
// the file, and one reference to the last mult until the next ReadMult or
// its destruction.
//
// ReadMult's results: S_OK a mult was read; S_FALSE the file holds no
// further mult, or the user cancelled a dialog; E_CONVERT_READ with a new
// text for the caller on every reading failure.
#pragma once

#include "DSTVFileReader.h"
#include "DynamicArray.h"

#include "halcyra/ConverterServer.h"
#include "halcyra/HalcyraLib.h"

#include "com/ComPtr.h"

#include <functional>

struct CMultPartData;

class DSTVMultReader : public DSTVFileReader {
public:
    // Creates a new mult and answers it as IUnknown with one reference for
    // the caller. The default creates CLSID_CADMult through the component
    // runtime (all contexts); tests pass a creator of their own.
    using MultCreator = ObjectCreator;
    static constexpr auto createRegisteredMult = createRegisteredObject<&CLSID_CADMult>;

    explicit DSTVMultReader(MultCreator createMult = createRegisteredMult);

    // The new mult goes into *ppIUnkCADMult (one reference for the caller)
    // right after it is created, and stays there when the read then fails
    // or a dialog is cancelled.
    HRESULT ReadMult(IUnknown** ppIUnkCADMult, BSTR* pbstrErrorText);

    // Appends the pieces of text between the delimiters, as new strings the
    // caller deletes: "a;;b" gives a, "" and b; ";a" gives "" and a; "a;b;"
    // gives a and b; an empty text gives none.
    static void SplitByDelimiter(const CString& text, char delimiter,
                                 CDynamicArray<CString*>* pieces);

private:
    struct Bar;

    HRESULT createMult(IUnknown** ppIUnkCADMult);
    // A failed mult call raises _com_error with the mult's error info.
    void checkMult(HRESULT hr);
    void nextBarLine(CBreakString* line);
    void readBar(Bar* bar);
    // False (with *errorText) when the way of process is not v, h or n with
    // its four pieces.
    static bool checkWayOfProcess(const Bar& bar, CString* errorText);
    void readPieces(CDynamicArray<CMultPartData*>* pieces);
    // Each false when the user cancels the dialog.
    bool settleMachine(const CString& machine);
    bool settlePieces(CDynamicArray<CMultPartData*>* pieces);
    void fillMult(const Bar& bar, CDynamicArray<CMultPartData*>* pieces);

    MultCreator m_createMult;

    // BA lines 9 to 12 and 14: read, never passed on.
    double m_dProfileValue9 = 0;  // inches
    double m_dProfileValue10 = 0; // inches
    double m_dProfileValue11 = 0; // inches
    double m_dProfileValue12 = 0; // inches
    double m_dValue14 = 0;        // as read
    double m_dBarLength = 0;      // inches
    ComPtrT<ICADMult> m_pCADMult;
};
