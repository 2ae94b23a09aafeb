// DXFPartReader: reads one DXF drawing on the layer convention into a new
// plain part (CADPart, through ICADPart).
//
// ReadPart makes two passes over the drawing's ENTITIES section: the
// header pass reads $MEASUREMENT, then pre-scans the entities for the
// reference points and the PART_INFO text and moves back; the entity loop
// then places every circle, point, text and block insert (DXFPlacement).
// Lengths and positions are the drawing's own; nothing is converted.
//
// One reader is embedded in each converter object and is used on one
// thread at a time. It owns the open file between SetFile and the end of
// the file, and one reference to the last part it created until the next
// ReadPart or its destruction.
//
// Results: S_OK a part was read; S_FALSE the file holds no further part;
// E_CONVERT_FILE_OPEN from SetFile when the file cannot be opened;
// E_CONVERT_READ, E_CONVERT_BAD_CODE, E_CONVERT_UNEXPECTED_EOF or
// E_UNEXPECTED from ReadPart. Every failure sets *errorText; the texts of
// ReadPart end with the file name and line ("File Name:"/"Line:").
#pragma once

#include "DXFFile.h"
#include "DXFPlacement.h"

#include "halcyra/ConverterServer.h"
#include "halcyra/HalcyraLib.h"

#include "com/ComPtr.h"

#include <functional>

class DXFPartReader {
public:
    // Creates a new part object and answers it as IUnknown with one
    // reference for the caller. The default creates CLSID_CADPart through
    // the component runtime (all server contexts); tests pass their own.
    using PartCreator = ObjectCreator;
    static constexpr auto createRegisteredPart = createRegisteredObject<&CLSID_CADPart>;

    explicit DXFPartReader(PartCreator createPart = createRegisteredPart);
    DXFPartReader(const DXFPartReader&) = delete;
    DXFPartReader& operator=(const DXFPartReader&) = delete;

    HRESULT SetFile(BSTR bstrFilename, CString* errorText);

    // The new part goes into *ppIUnkCADPart (one reference for the caller)
    // right after it is created, and stays there when the read then fails
    // or answers S_FALSE.
    HRESULT ReadPart(IUnknown** ppIUnkCADPart, CString* errorText);

private:
    enum class Mode { Reference, Placement };

    HRESULT createPart(IUnknown** ppIUnkCADPart);
    void headerPass();
    // The entities up to the end of the section (ENDSEC, EOF or the end of
    // the file), each read in the mode.
    void scanEntities(Mode mode);

    // What one entity's pairs (a group code line and a value line) gave:
    // 10 X, 20 Y, 8 the layer (its first word), 40 the size (radius or
    // height), 50 the rotation, and the entity's text code (1 the text, 2
    // an insert's block name: the whole value line). Other codes are read
    // past.
    struct EntityPairs {
        enum : unsigned { kX = 1, kY = 2, kLayer = 4, kSize = 8, kText = 16, kRotation = 32 };
        double x = 0, y = 0, size = 0, rotation = 0;
        CString text;
        DXFLayerCode layer = kLayerNone;
        unsigned seen = 0;
    };
    struct EntityGrammar {
        unsigned required;    // the pairs are read until these are seen
        unsigned enough;      // a "0" or the end of the file after these ends the entity
        const char* textCode; // "1", "2" or null
        bool codeAfterText;   // the code right after the text is read at once (TEXT)
        const char* zeroText; // the report of a "0" that comes too early
    };
    EntityPairs readEntity(const EntityGrammar& grammar);

    // The entity readers.
    void readCircle(Mode mode);
    void readText(Mode mode);
    void readPoint(Mode mode);
    void readInsert(Mode mode);
    // The next group code; false at the end of the file.
    bool readCode(CString* code);
    // Value lines; the end of the file throws the unexpected-end report.
    CBreakString readValueLine();
    double readValue();
    DXFLayerCode readLayer();
    [[noreturn]] void failEndOfFile() const;
    // A placement (or the PART_INFO text), whose failure is reported at
    // the entity's first line.
    template <class Place>
    void place(Place placement);

    void readPartInfo(const CString& text);
    // "File Name:"/"Line:" of a failure.
    CString failureLineText() const;
    void check(HRESULT hr);

    PartCreator m_createPart;

    DXFFile m_file;
    ComPtrT<ICADPart> m_pCADPart;
    CString m_section;            // from PART_INFO
    CString m_sectionDescription; // from PART_INFO
    double m_dLength = 0;         // from PART_INFO
    bool m_bMetric = false;       // $MEASUREMENT was not 0
    bool m_bPartInfoRead = false; // only the first PART_INFO text counts
    DXFPlacement m_placement;
    int m_nEntityLine = 0;  // line of the entity being read
    int m_nFailureLine = 0; // line a failure names; 0: the line last read
};
