// The bar reader against a recording mult: the BA and PI blocks, the way of
// process, SplitByDelimiter, the machine and parts dialogs answered through
// the test hook, and the text of every failure. Reads run on a worker
// thread while this (GUI) thread pumps, as in the wizard.
#include "DSTVMultReader.h"
#include "RecordingMult.h"

#include "testing/GuiTest.h"
#include "testing/TemporaryFolder.h"

#include "com/Bstr.h"
#include "com/CodePage.h"
#include "com/ComError.h"
#include "com/Runtime.h"
#include "ui/CommCtrl.h"
#include "ui/Process.h"
#include "ui/Window.h"

#include <QWidget>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr double kMm = 1 / 25.4;

// A bar file: the 21 BA fields and the piece lines, in millimetres.
struct BarFile {
    std::string first = "BA";
    std::vector<std::string> ba{"BAR-1", "2",   "SAW1", "A992", "2",     "W12X26", "I",
                                "6000",  "310", "165",  "9.7",  "5.8",   "8.9",    "38.7",
                                "-",     "-",   "-",    "-",    "3.175", "",       "v;100;200;0"};
    std::string pi = "PI";
    std::vector<std::string> pieces{"1;A;J1;x;G1;M1;4", "2;A;J1;x;G1;M2;1"};

    std::string& field(int line) { return ba.at(static_cast<std::size_t>(line - 1)); }
    std::string text() const
    {
        std::string t = first + "\n";
        for (const std::string& f : ba)
            t += "  " + f + "\n";
        t += pi + "\n";
        for (const std::string& p : pieces)
            t += "  " + p + "\n";
        return t;
    }
};

struct MultRead {
    HRESULT hr = E_FAIL;
    std::string text;
    bool multHandedOut = false;
};

std::string itemText(HWND dialog, int id)
{
    char buffer[256] = {};
    GetDlgItemText(dialog, id, buffer, sizeof buffer);
    return buffer;
}

void click(HWND dialog, int id)
{
    SendMessage(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

std::string comErrorText(HRESULT hr)
{
    return std::string(_com_error(hr).ErrorMessage()) + "\r\nCom Error while reading part";
}

class MultReaderTest : public GuiTest {
protected:
    void SetUp() override
    {
        m_mult.knownPieces = {"J1/G1/M1", "J1/G1/M2"};
        m_reader.emplace([this](IUnknown** pp) {
            ++m_multsCreated;
            if (m_failCreation)
                return REGDB_E_CLASSNOTREG;
            return m_mult.QueryInterface(IID_IUnknown, reinterpret_cast<void**>(pp));
        });
    }
    void TearDown() override
    {
        m_reader.reset();
        EXPECT_EQ(m_mult.references(), 1u)
            << "the reader and its dialogs leave no reference to the mult";
        GuiTest::TearDown();
    }

    std::string writeFile(const std::string& content)
    {
        m_path = m_folder.write("bar.nc", content);
        return m_path;
    }

    // ReadMult on a worker; every dialog that opens goes to m_onDialog.
    MultRead read()
    {
        struct Job {
            DSTVMultReader* reader;
            IUnknown* mult = nullptr;
            BSTR text = nullptr;
            HRESULT hr = E_FAIL;
        } job{&*m_reader};
        const ui::ModalDialogDriver driver([this](HWND dialog) {
            char caption[64] = {};
            GetWindowText(dialog, caption, sizeof caption);
            m_dialogs.push_back(caption);
            m_onDialog(dialog);
        });
        const HANDLE thread = CreateThread(
            nullptr, 0,
            [](LPVOID parameter) -> DWORD {
                auto* j = static_cast<Job*>(parameter);
                CoInitialize(nullptr);
                j->hr = j->reader->ReadMult(&j->mult, &j->text);
                CoUninitialize();
                return 0;
            },
            &job, 0, nullptr);
        DWORD code = STILL_ACTIVE;
        pumpUntil([&] { return GetExitCodeThread(thread, &code) && code != STILL_ACTIVE; });
        CloseHandle(thread);
        MultRead result;
        result.hr = job.hr;
        result.text = narrowFromBstr(job.text);
        SysFreeString(job.text);
        result.multHandedOut = job.mult == static_cast<IUnknown*>(&m_mult);
        if (job.mult)
            job.mult->Release();
        return result;
    }

    MultRead convert(const BarFile& bar)
    {
        BSTR name = SysAllocString(wideFromNarrow(writeFile(bar.text())).c_str());
        BSTR error = nullptr;
        EXPECT_EQ(m_reader->SetFile(name, &error), S_OK);
        SysFreeString(name);
        SysFreeString(error);
        return read();
    }

    const testsupport::TemporaryFolder m_folder{"lunkett-mult"};
    std::string m_path;
    RecordingMult m_mult;
    int m_multsCreated = 0;
    bool m_failCreation = false;
    std::optional<DSTVMultReader> m_reader;
    std::vector<std::string> m_dialogs;
    std::function<void(HWND)> m_onDialog = [](HWND dialog) {
        ADD_FAILURE() << "no dialog was expected";
        click(dialog, IDCANCEL);
    };
};

TEST(SplitByDelimiter, PiecesBetweenTheDelimiters)
{
    struct Case {
        const char* text;
        std::vector<std::string> pieces;
    };
    const Case cases[] = {
        {"a;;b", {"a", "", "b"}},
        {";a", {"", "a"}},
        {"a;b;", {"a", "b"}},
        {"a;b;;", {"a", "b", ""}},
        {"abc", {"abc"}},
        {"", {}},
        {";", {""}},
        {"1;A;J1;x;G1;M1;4", {"1", "A", "J1", "x", "G1", "M1", "4"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        CDynamicArray<CString*> pieces;
        DSTVMultReader::SplitByDelimiter(c.text, ';', &pieces);
        std::vector<std::string> found;
        for (int i = 0; i < pieces.GetSize(); ++i) {
            found.emplace_back(static_cast<const char*>(*pieces.GetAt(i)));
            delete pieces.GetAt(i);
        }
        EXPECT_EQ(found, c.pieces);
    }
}

TEST_F(MultReaderTest, KnownMachineAndPiecesFillTheMultWithoutADialog)
{
    const MultRead result = convert(BarFile{});
    ASSERT_EQ(result.hr, S_OK) << result.text;
    EXPECT_TRUE(result.multHandedOut);
    EXPECT_EQ(result.text, "");
    const std::vector<std::string> expected{
        "put_Machine SAW1",   "CheckMachine ",
        "CheckPart J1/G1/M1", "CheckPart J1/G1/M2",
        "put_Mark BAR-1",     "put_Quantity 2",
        "put_Grade A992",     "GetMultSectionAndDescription J1/G1/M1",
        "put_Section W",      "put_SectionDescription 1226",
        "put_Length ",        "put_Kerf ",
        "AddPart J1/G1/M1 4", "AddPart J1/G1/M2 1"};
    EXPECT_EQ(m_mult.calls, expected);
    EXPECT_DOUBLE_EQ(m_mult.length, 6000 * kMm);
    EXPECT_DOUBLE_EQ(m_mult.kerf, 0.125);
    EXPECT_TRUE(m_dialogs.empty());

    const MultRead again = read();
    EXPECT_EQ(again.hr, S_FALSE) << "one mult per file";
    EXPECT_FALSE(again.multHandedOut);
    EXPECT_EQ(m_multsCreated, 1);
}

TEST_F(MultReaderTest, OptionalLinesRunNumberAndBlankPieceLines)
{
    BarFile bar;
    bar.field(2) = "12 first"; // the run number's leading integer
    bar.field(7) = "I";        // read as "W", sent nowhere
    for (int line : {9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20})
        bar.field(line) = ""; // every optional line empty
    bar.pieces = {"**comment", "", "1;A;J1;x;G1;M1;4;extra"};
    const MultRead result = convert(bar);
    ASSERT_EQ(result.hr, S_OK) << result.text;
    EXPECT_EQ(m_mult.quantity, 12);
    EXPECT_EQ(m_mult.kerf, 0);
    EXPECT_EQ(m_mult.argumentsOf("AddPart"), std::vector<std::string>{"J1/G1/M1 4"});
}

TEST_F(MultReaderTest, BarWithoutPiecesHasAnEmptySectionAndNoParts)
{
    BarFile bar;
    bar.pieces.clear();
    ASSERT_EQ(convert(bar).hr, S_OK);
    EXPECT_TRUE(m_mult.argumentsOf("GetMultSectionAndDescription").empty());
    EXPECT_EQ(m_mult.argumentsOf("put_Section"), std::vector<std::string>{""});
    EXPECT_EQ(m_mult.argumentsOf("put_SectionDescription"), std::vector<std::string>{""});
    EXPECT_TRUE(m_mult.argumentsOf("AddPart").empty());
}

TEST_F(MultReaderTest, WayOfProcess)
{
    struct Case {
        const char* line;
        const char* error; // null: accepted
    };
    const Case cases[] = {
        {"v;100;200;0", nullptr},
        {"N;;;0", nullptr},
        {"v;100;200;", "Illegal File Formate. "}, // nothing after the last delimiter: three pieces
        {"h;1;2;3 and more", nullptr},
        {"x;1;2;3 rest of line", "Illegal File Formate. rest of line"},
        {"v;1;2", "Illegal File Formate. "},
        {"v;1;2;3;4", "Illegal File Formate. "},
        {"", "Illegal File Formate. "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        BarFile bar;
        bar.field(21) = c.line;
        const MultRead result = convert(bar);
        if (c.error) {
            EXPECT_EQ(result.hr, E_CONVERT_READ);
            EXPECT_EQ(result.text,
                      c.error + ("\r\nFile Name:" + m_path + "\r\nLine:22")); // field 21
            EXPECT_TRUE(m_mult.argumentsOf("AddPart").empty());
        } else {
            EXPECT_EQ(result.hr, S_OK) << result.text;
        }
        m_mult.calls.clear();
    }
}

TEST_F(MultReaderTest, AByteOrderMarkBeforeBAIsSkipped)
{
    BarFile bar;
    bar.first = "\xEF\xBB\xBF"
                "BA";
    const MultRead result = convert(bar);
    ASSERT_EQ(result.hr, S_OK) << result.text;
    EXPECT_EQ(m_mult.argumentsOf("AddPart").size(), 2u);
}

TEST_F(MultReaderTest, EveryFailureHasItsTextAndNamesTheFileAndLine)
{
    const std::string numeric = "Numeric Conversion Error while reading part";
    constexpr int kAnyLine = 0, kNoPlace = -1;
    struct Case {
        const char* name;
        std::function<void(BarFile&, RecordingMult&, bool&)> change;
        // The text exactly, or (when it starts with "...") how it ends,
        // before the file and line.
        std::function<std::string()> text;
        int line = kAnyLine; // of the file-and-line end
        bool multHandedOut = true;
    };
    const Case cases[] = {
        {"first word not BA", [](BarFile& b, RecordingMult&, bool&) { b.first = "ST"; },
         [] { return "Code Block BA was not found."; }, 1},
        {"lower-case ba", [](BarFile& b, RecordingMult&, bool&) { b.first = "ba"; },
         [] { return "Code Block BA was not found."; }, 1},
        {"no PI line", [](BarFile& b, RecordingMult&, bool&) { b.pi = "PX"; },
         [] { return "Code Block PI was not found."; }, 23},
        {"piece line of six fields",
         [](BarFile& b, RecordingMult&, bool&) {
             b.pieces = {"1;A;J1;x;G1;M1;4", "1;A;J1;x;G1;M1"};
         },
         [] { return "Piece line \"1;A;J1;x;G1;M1\" has 6 of the 7 fields separated by ';'."; },
         25},
        {"piece quantity not a number",
         [](BarFile& b, RecordingMult&, bool&) { b.pieces = {"1;A;J1;x;G1;M1;four"}; },
         [&] { return "..." + numeric; }, 24},
        {"empty bar length", [](BarFile& b, RecordingMult&, bool&) { b.field(8) = ""; },
         [&] { return "..." + numeric; }, 9},
        {"run number without a number",
         [](BarFile& b, RecordingMult&, bool&) { b.field(2) = "R2"; },
         [&] { return "..." + numeric; }},
        {"file cut inside BA",
         [](BarFile& b, RecordingMult&, bool&) {
             b.ba.resize(4);
             b.pi = "";
             b.pieces.clear();
         },
         [&] { return "..." + numeric; }},
        {"no mult object",
         [](BarFile&, RecordingMult&, bool& failCreation) { failCreation = true; },
         [] { return "Failed to create CLSID_CADMult. It may not be registered"; }, kNoPlace,
         false},
        {"a mult call fails",
         [](BarFile&, RecordingMult& m, bool&) { m.failures["put_Mark"] = E_FAIL; },
         [] { return comErrorText(E_FAIL); }},
        {"a piece check fails",
         [](BarFile&, RecordingMult& m, bool&) { m.failures["CheckPart"] = E_OUTOFMEMORY; },
         [] { return comErrorText(E_OUTOFMEMORY); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        BarFile bar;
        m_mult.failures.clear();
        m_failCreation = false;
        c.change(bar, m_mult, m_failCreation);
        const MultRead result = convert(bar);
        EXPECT_EQ(result.hr, E_CONVERT_READ);
        std::string text = result.text;
        if (c.line != kNoPlace) {
            const std::string place = "\r\nFile Name:" + m_path + "\r\nLine:";
            const std::size_t at = text.rfind(place);
            ASSERT_NE(at, std::string::npos) << text;
            const std::string line = text.substr(at + place.size());
            if (c.line != kAnyLine) {
                EXPECT_EQ(line, std::to_string(c.line));
            }
            EXPECT_EQ(line.find_first_not_of("0123456789"), std::string::npos) << text;
            text.erase(at);
        }
        const std::string expected = c.text();
        if (expected.rfind("...", 0) == 0) {
            const std::string ending = expected.substr(3);
            EXPECT_GT(text.size(), ending.size()) << "the exception's own message comes first";
            EXPECT_EQ(text.substr(text.size() - std::min(text.size(), ending.size())), ending)
                << text;
        } else {
            EXPECT_EQ(text, expected);
        }
        EXPECT_EQ(result.multHandedOut, c.multHandedOut);
        EXPECT_TRUE(m_mult.argumentsOf("AddPart").empty());
    }
}

TEST_F(MultReaderTest, UnknownMachineDialogAsksUntilTheMachineIsKnown)
{
    BarFile bar;
    bar.field(3) = "BANDSAW";
    m_onDialog = [this](HWND dialog) {
        EXPECT_EQ(itemText(dialog, 201), "BANDSAW");
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, 201)));
        EXPECT_EQ(itemText(dialog, 204), m_path);
        RECT r{};
        GetWindowRect(dialog, &r);
        EXPECT_EQ(r.left, 400);
        EXPECT_EQ(r.top, 300);
        EXPECT_TRUE(ui::windowWidget(dialog)->windowFlags() & Qt::WindowStaysOnTopHint);

        for (const char* unknown : {"", "LASER"}) {
            SCOPED_TRACE(unknown);
            SetDlgItemText(dialog, 202, unknown);
            click(dialog, IDOK);
            EXPECT_TRUE(IsWindowVisible(dialog)) << "an unknown machine keeps the dialog open";
            EXPECT_EQ(itemText(dialog, 201), unknown);
        }
        SetDlgItemText(dialog, 202, "SAW2");
        click(dialog, IDOK);
    };
    const MultRead result = convert(bar);
    ASSERT_EQ(result.hr, S_OK) << result.text;
    EXPECT_EQ(m_dialogs, std::vector<std::string>{"Change Mult Machine Name"});
    EXPECT_EQ(m_mult.argumentsOf("put_Machine"),
              (std::vector<std::string>{"BANDSAW", "", "LASER", "SAW2"}));
    EXPECT_EQ(m_mult.machine, "SAW2");
    EXPECT_EQ(m_mult.argumentsOf("AddPart").size(), 2u);
}

TEST_F(MultReaderTest, CancelledMachineDialogAddsNothingAndEndsTheFile)
{
    BarFile bar;
    bar.field(3) = "BANDSAW";
    m_onDialog = [](HWND dialog) { click(dialog, IDCANCEL); };
    const MultRead result = convert(bar);
    EXPECT_EQ(result.hr, S_FALSE);
    EXPECT_EQ(result.text, "");
    EXPECT_TRUE(result.multHandedOut);
    EXPECT_TRUE(m_mult.argumentsOf("CheckPart").empty());
    EXPECT_TRUE(m_mult.argumentsOf("AddPart").empty());
    EXPECT_TRUE(m_mult.argumentsOf("put_Mark").empty());

    EXPECT_EQ(read().hr, S_FALSE);
    EXPECT_EQ(m_multsCreated, 1) << "the file is at its end";
}

TEST_F(MultReaderTest, FailingMultCallInTheMachineDialogEndsTheRead)
{
    BarFile bar;
    bar.field(3) = "BANDSAW";
    m_onDialog = [this](HWND dialog) {
        m_mult.failures["CheckMachine"] = E_ACCESSDENIED;
        SetDlgItemText(dialog, 202, "SAW1");
        click(dialog, IDOK);
    };
    const MultRead result = convert(bar);
    EXPECT_EQ(result.hr, E_CONVERT_READ);
    EXPECT_EQ(result.text,
              comErrorText(E_ACCESSDENIED) + "\r\nFile Name:" + m_path + "\r\nLine:25");
    EXPECT_TRUE(m_mult.argumentsOf("AddPart").empty());
}

TEST_F(MultReaderTest, MissingPiecesAreListedAndEveryPieceTakesTheNewJobAndGroup)
{
    BarFile bar;
    bar.pieces = {"1;A;J1;x;G1;M1;4", "2;A;J1;x;G1;M9;1", "3;A;J2;x;G3;M3;2"};
    m_onDialog = [this](HWND dialog) {
        EXPECT_EQ(itemText(dialog, 205), m_path);
        const HWND list = GetDlgItem(dialog, 202);
        ASSERT_EQ(ListView_GetItemCount(list), 2) << "only the missing pieces, in file order";
        const char* const rows[2][3] = {{"J1", "G1", "M9"}, {"J2", "G3", "M3"}};
        for (int row = 0; row < 2; ++row)
            for (int column = 0; column < 3; ++column) {
                char cell[16] = {};
                ListView_GetItemText(list, row, column, cell, sizeof cell);
                EXPECT_STREQ(cell, rows[row][column]) << row << "," << column;
            }
        EXPECT_EQ(ListView_GetColumnWidth(list, 2), 150);
        SetDlgItemText(dialog, 201, "J7");
        click(dialog, IDOK);
    };
    const MultRead result = convert(bar);
    ASSERT_EQ(result.hr, S_OK) << result.text;
    EXPECT_EQ(m_dialogs, std::vector<std::string>{"Mult Parts"});
    EXPECT_EQ(m_mult.argumentsOf("CheckPart").size(), 3u) << "no piece is looked up again";
    EXPECT_EQ(m_mult.argumentsOf("GetMultSectionAndDescription"),
              std::vector<std::string>{"J7//M1"});
    EXPECT_EQ(m_mult.argumentsOf("AddPart"),
              (std::vector<std::string>{"J7//M1 4", "J7//M9 1", "J7//M3 2"}));
}

TEST_F(MultReaderTest, CancelledPartsDialogAddsNothing)
{
    BarFile bar;
    bar.pieces = {"2;A;J1;x;G1;M9;1"};
    m_onDialog = [](HWND dialog) { click(dialog, IDCANCEL); };
    const MultRead result = convert(bar);
    EXPECT_EQ(result.hr, S_FALSE);
    EXPECT_TRUE(m_mult.argumentsOf("AddPart").empty());
    EXPECT_EQ(read().hr, S_FALSE);
    EXPECT_EQ(m_multsCreated, 1);
}

} // namespace
