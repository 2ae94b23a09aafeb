// The commands of the `tarsis` tool; see TarsisTool.h.
#include "tarsis/TarsisTool.h"

#include "TextTable.h"
#include "tarsis/DatabasePath.h"
#include "tarsis/SqliteStore.h"
#include "tarsis/StoreError.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <ostream>
#include <stdexcept>

namespace tarsis {
namespace {

constexpr const char* kUsage = R"(Usage: tarsis [--database FILE] COMMAND
Commands:
  init                                  create the database with its built-in catalog
  shapes list
  shapes add SECTION DESCRIPTION --name NAME --depth D --web-thickness T
             --flange-width B --flange-thickness T
             [--units inch|metric] [--surface S] [--weight W]
  shapes remove SECTION DESCRIPTION
  machines list
  machines add NAME [DESCRIPTION]
  machines remove NAME
  parts list [--job JOB]
  parts show JOB GROUP MARK
  mults list
  mults show JOB GROUP MARK
The database is FILE, else $TARSIS_DATABASE, else $XDG_DATA_HOME/tarsis/tarsis.db.
)";

class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The words after the command and subcommand, and their --name value options.
class Words {
public:
    Words(std::vector<std::string> words, std::size_t first)
        : m_words(std::move(words)), m_next(first)
    {
    }

    const std::string& next(const char* what)
    {
        if (m_next >= m_words.size() || isOption(m_words[m_next]))
            throw UsageError(std::string("missing ") + what);
        return m_words[m_next++];
    }

    std::optional<std::string> optionalNext()
    {
        if (m_next >= m_words.size() || isOption(m_words[m_next]))
            return std::nullopt;
        return m_words[m_next++];
    }

    // Reads the remaining words as options; only the given names are allowed.
    std::map<std::string, std::string> options(std::initializer_list<const char*> allowed)
    {
        std::map<std::string, std::string> values;
        while (m_next < m_words.size()) {
            const std::string& name = m_words[m_next];
            bool known = false;
            for (const char* a : allowed)
                known = known || name == a;
            if (!known)
                throw UsageError("unexpected '" + name + "'");
            if (m_next + 1 >= m_words.size())
                throw UsageError(name + " needs a value");
            values[name] = m_words[m_next + 1];
            m_next += 2;
        }
        return values;
    }

    void end()
    {
        if (m_next < m_words.size())
            throw UsageError("unexpected '" + m_words[m_next] + "'");
    }

private:
    static bool isOption(const std::string& word)
    {
        return word.size() > 2 && word.compare(0, 2, "--") == 0;
    }

    std::vector<std::string> m_words;
    std::size_t m_next;
};

double parseDimension(const std::string& name, const std::string& text)
{
    char* end = nullptr;
    errno = 0;
    double value = std::strtod(text.c_str(), &end);
    if (text.empty() || *end != '\0' || errno == ERANGE || !std::isfinite(value) || value < 0)
        throw UsageError(name + " '" + text + "' is not a number of zero or more");
    return value;
}

std::string keyText(const PartKey& key)
{
    return key.job + " / " + key.group + " / " + key.mark;
}

std::string measuringSystemText(int system)
{
    std::string text = std::to_string(system);
    if (system == 0)
        text += " (inch)";
    if (system == 2)
        text += " (metric)";
    return text;
}

std::string entryText(const PartEntry& entry)
{
    if (const auto* p = std::get_if<RefPlane>(&entry)) {
        return "plane        start " + formatNumber(p->startX) + ", " + formatNumber(p->startU) +
               "  rise " + formatNumber(p->rise) + "  run " + formatNumber(p->run) +
               "  direction '" + p->directionX + "' '" + p->directionU + "'  pattern '" +
               p->pattern + "'";
    }
    const Operation& op = std::get<Operation>(entry);
    std::string kind(toText(op.kind));
    std::string text = kind + std::string(13 - std::min<std::size_t>(kind.size(), 12), ' ') +
                       std::string(toText(op.face)) + "  x " + formatNumber(op.x) + "  u " +
                       formatNumber(op.u);
    if (op.kind == OperationKind::Stencil)
        return text + "  text \"" + op.text + "\"";
    text += "  inc " + formatNumber(op.xInc) + ", " + formatNumber(op.uInc) + "  count " +
            std::to_string(op.numX) + ", " + std::to_string(op.numU);
    if (op.kind != OperationKind::Hole)
        return text;
    text += "  tool " + formatNumber(op.toolSize1) + ", " + formatNumber(op.toolSize2) + " '" +
            op.toolShape + "'  orientation " + std::to_string(op.orientation);
    if (op.toolMeasuringSystem)
        text += "  tool system " + measuringSystemText(*op.toolMeasuringSystem);
    return text;
}

class Tool {
public:
    Tool(std::vector<std::string> words, std::string database, std::ostream& out)
        : m_words(std::move(words)), m_database(std::move(database)), m_out(out)
    {
    }

    void run()
    {
        if (m_words.empty())
            throw UsageError("no command");
        const std::string& command = m_words[0];
        if (command == "help") {
            m_out << kUsage;
            return;
        }
        if (command == "init")
            return init();
        std::string sub = m_words.size() > 1 ? m_words[1] : "";
        Words words(m_words, 2);
        if (command == "shapes") {
            if (sub == "list")
                return words.end(), listShapes();
            if (sub == "add")
                return addShape(words);
            if (sub == "remove")
                return removeShape(words);
        } else if (command == "machines") {
            if (sub == "list")
                return words.end(), listMachines();
            if (sub == "add")
                return addMachine(words);
            if (sub == "remove")
                return removeMachine(words);
        } else if (command == "parts") {
            if (sub == "list")
                return listParts(words);
            if (sub == "show")
                return showPart(words);
        } else if (command == "mults") {
            if (sub == "list")
                return words.end(), listMults();
            if (sub == "show")
                return showMult(words);
        } else {
            throw UsageError("unknown command '" + command + "'");
        }
        throw UsageError(sub.empty() ? "'" + command + "' needs a subcommand"
                                     : "unknown subcommand '" + command + " " + sub + "'");
    }

private:
    std::unique_ptr<TarsisStore> open()
    {
        return openSqliteStore(m_database, OpenMode::ExistingOnly);
    }

    void init()
    {
        Words(m_words, 1).end();
        bool existed = std::filesystem::exists(m_database);
        auto store = openSqliteStore(m_database, OpenMode::CreateIfMissing);
        m_out << (existed ? "Database " : "Created database ") << m_database << ": "
              << store->listShapes().size() << " shapes, " << store->listMachines().size()
              << " machines, " << store->listParts(std::nullopt).size() << " parts, "
              << store->listMults().size() << " mults.\n";
    }

    void listShapes()
    {
        auto shapes = open()->listShapes();
        if (shapes.empty()) {
            m_out << "No shapes.\n";
            return;
        }
        TextTable table({"SECTION", "DESCRIPTION", "NAME", "UNITS", "DEPTH", "WEB", "FLANGE WIDTH",
                         "FLANGE THICKNESS", "SURFACE", "WEIGHT"});
        for (const ShapeRecord& s : shapes) {
            table.addRow({s.key.section, s.key.description, s.name, std::string(toText(s.units)),
                          formatNumber(s.depth), formatNumber(s.webThickness),
                          formatNumber(s.flangeWidth), formatNumber(s.flangeThickness),
                          formatNumber(s.surface), formatNumber(s.weight)});
        }
        table.print(m_out);
    }

    void addShape(Words& words)
    {
        ShapeRecord shape;
        shape.key.section = words.next("SECTION");
        shape.key.description = words.next("DESCRIPTION");
        auto options =
            words.options({"--name", "--units", "--depth", "--web-thickness", "--flange-width",
                           "--flange-thickness", "--surface", "--weight"});
        auto required = [&](const char* name) -> const std::string& {
            auto it = options.find(name);
            if (it == options.end())
                throw UsageError(std::string("missing ") + name);
            return it->second;
        };
        auto dimension = [&](const char* name, bool needed) {
            auto it = options.find(name);
            if (it == options.end())
                return needed ? parseDimension(name, required(name)) : 0.0;
            return parseDimension(name, it->second);
        };
        shape.name = required("--name");
        if (auto it = options.find("--units"); it != options.end()) {
            auto units = unitsFromText(it->second);
            if (!units)
                throw UsageError("--units must be inch or metric");
            shape.units = *units;
        }
        shape.depth = dimension("--depth", true);
        shape.webThickness = dimension("--web-thickness", true);
        shape.flangeWidth = dimension("--flange-width", true);
        shape.flangeThickness = dimension("--flange-thickness", true);
        shape.surface = dimension("--surface", false);
        shape.weight = dimension("--weight", false);
        open()->addShape(shape);
        m_out << "Added shape " << shape.key.section << " " << shape.key.description << " ("
              << shape.name << ").\n";
    }

    void removeShape(Words& words)
    {
        ShapeKey key;
        key.section = words.next("SECTION");
        key.description = words.next("DESCRIPTION");
        words.end();
        open()->removeShape(key);
        m_out << "Removed shape " << key.section << " " << key.description << ".\n";
    }

    void listMachines()
    {
        auto machines = open()->listMachines();
        if (machines.empty()) {
            m_out << "No machines.\n";
            return;
        }
        TextTable table({"NAME", "DESCRIPTION"});
        for (const MachineRecord& m : machines)
            table.addRow({m.name, m.description});
        table.print(m_out);
    }

    void addMachine(Words& words)
    {
        MachineRecord machine;
        machine.name = words.next("NAME");
        machine.description = words.optionalNext().value_or("");
        words.end();
        open()->addMachine(machine);
        m_out << "Added machine " << machine.name << ".\n";
    }

    void removeMachine(Words& words)
    {
        std::string name = words.next("NAME");
        words.end();
        open()->removeMachine(name);
        m_out << "Removed machine " << name << ".\n";
    }

    void listParts(Words& words)
    {
        auto options = words.options({"--job"});
        std::optional<std::string> job;
        if (auto it = options.find("--job"); it != options.end())
            job = it->second;
        auto parts = open()->listParts(job);
        if (parts.empty()) {
            m_out << (job ? "No parts in job " + *job + ".\n" : std::string("No parts.\n"));
            return;
        }
        TextTable table({"JOB", "GROUP", "MARK", "SECTION", "DESCRIPTION", "QUANTITY", "LENGTH",
                         "OPERATIONS", "SAVED"});
        for (const PartSummary& p : parts) {
            table.addRow({p.key.job, p.key.group, p.key.mark, p.shape.section, p.shape.description,
                          std::to_string(p.quantity), formatNumber(p.length),
                          std::to_string(p.operationCount), p.savedAt});
        }
        table.print(m_out);
    }

    PartKey partKey(Words& words)
    {
        PartKey key;
        key.job = words.next("JOB");
        key.group = words.next("GROUP");
        key.mark = words.next("MARK");
        words.end();
        return key;
    }

    [[noreturn]] void notFound(const char* what, const PartKey& key, const TarsisStore& store)
    {
        throw StoreError(StoreError::Kind::NotFound, std::string("No ") + what + " " +
                                                         keyText(key) + " in " + store.location());
    }

    void showPart(Words& words)
    {
        PartKey key = partKey(words);
        auto store = open();
        auto part = store->findPart(key);
        if (!part)
            notFound("part", key, *store);
        const PartHeader& h = part->header;
        m_out << "Part " << keyText(key) << "\n";
        TextTable header({"  quantity", std::to_string(h.quantity)});
        header.addRow({"  length", formatNumber(h.length)});
        header.addRow({"  section", h.shape.section + " " + h.shape.description});
        header.addRow({"  grade", h.grade});
        header.addRow({"  text 1", h.text1});
        header.addRow({"  number", std::to_string(h.number)});
        header.addRow({"  text 2", h.text2});
        header.addRow({"  text 3", h.text3});
        header.addRow({"  measuring system", measuringSystemText(h.measuringSystem)});
        header.addRow({"  part kind", std::to_string(h.partKind)});
        header.addRow({"  saved", part->savedAt});
        header.print(m_out);
        m_out << "Entries, in arrival order: " << part->entries.size() << "\n";
        int n = 0;
        for (const PartEntry& entry : part->entries) {
            std::string number = std::to_string(++n);
            m_out << std::string(number.size() < 4 ? 4 - number.size() : 0, ' ') << number << "  "
                  << entryText(entry) << "\n";
        }
    }

    void listMults()
    {
        auto mults = open()->listMults();
        if (mults.empty()) {
            m_out << "No mults.\n";
            return;
        }
        TextTable table({"JOB", "GROUP", "MARK", "SECTION", "DESCRIPTION", "MACHINE", "QUANTITY",
                         "LENGTH", "PIECES", "SAVED"});
        for (const MultSummary& m : mults) {
            table.addRow({m.key.job, m.key.group, m.key.mark, m.shape.section, m.shape.description,
                          m.machine, std::to_string(m.quantity), formatNumber(m.length),
                          std::to_string(m.pieceCount), m.savedAt});
        }
        table.print(m_out);
    }

    void showMult(Words& words)
    {
        PartKey key = partKey(words);
        auto store = open();
        auto mult = store->findMult(key);
        if (!mult)
            notFound("mult", key, *store);
        const MultHeader& h = mult->header;
        m_out << "Mult " << keyText(key) << "\n";
        TextTable header({"  number", std::to_string(h.number)});
        header.addRow({"  quantity", std::to_string(h.quantity)});
        header.addRow({"  length", formatNumber(h.length)});
        header.addRow({"  kerf", formatNumber(h.kerf)});
        header.addRow({"  section", h.shape.section + " " + h.shape.description});
        header.addRow({"  grade", h.grade});
        header.addRow({"  machine", h.machine});
        header.addRow({"  text 1", h.text1});
        header.addRow({"  text 2", h.text2});
        header.addRow({"  measuring system", measuringSystemText(h.measuringSystem)});
        header.addRow({"  saved", mult->savedAt});
        header.print(m_out);
        m_out << "Pieces, in arrival order: " << mult->pieces.size() << "\n";
        if (mult->pieces.empty())
            return;
        TextTable pieces({"#", "JOB", "GROUP", "MARK", "QUANTITY"});
        int n = 0;
        for (const MultPiece& p : mult->pieces) {
            pieces.addRow({std::to_string(++n), p.key.job, p.key.group, p.key.mark,
                           std::to_string(p.quantity)});
        }
        pieces.print(m_out, "  ");
    }

    std::vector<std::string> m_words;
    std::string m_database;
    std::ostream& m_out;
};

} // namespace

int runTarsisTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    try {
        std::vector<std::string> words;
        std::optional<std::string> database;
        for (std::size_t i = 0; i < args.size(); ++i) {
            if (args[i] == "--database") {
                if (i + 1 >= args.size() || args[i + 1].empty())
                    throw UsageError("--database needs a file");
                database = args[++i];
            } else {
                words.push_back(args[i]);
            }
        }
        bool help = !words.empty() && words[0] == "help";
        Tool(words, help ? "" : database.value_or(defaultDatabasePath()), out).run();
        return 0;
    } catch (const UsageError& e) {
        err << "tarsis: " << e.what() << "\nRun 'tarsis help' for the commands.\n";
        return 2;
    } catch (const std::exception& e) {
        err << "tarsis: " << e.what() << "\n";
        return 1;
    }
}

} // namespace tarsis
