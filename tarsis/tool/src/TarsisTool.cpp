// The commands of the `tarsis` tool; see TarsisTool.h.
#include "tarsis/TarsisTool.h"

#include "TextTable.h"
#include "tarsis/DatabasePath.h"
#include "tarsis/SqliteStore.h"
#include "tarsis/StoreError.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <ostream>
#include <regex>

namespace tarsis {
namespace {

// A name, a key part or a file: never empty.
const CLI::Validator kNotEmpty(
    [](const std::string& text) { return text.empty() ? std::string("must not be empty") : ""; },
    "");

// A dimension: a decimal number of zero or more (no sign, exponent, hex
// or infinity).
const CLI::Validator kDecimal(
    [](const std::string& text) {
        static const std::regex decimal(R"([0-9]+(\.[0-9]*)?|\.[0-9]+)");
        return std::regex_match(text, decimal)
                   ? std::string()
                   : "'" + text + "' is not a decimal number of zero or more";
    },
    "");

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

// What the command line asked for.
struct Request {
    std::string database;
    bool wide = false;
    std::optional<std::string> job;
    ShapeRecord shape;
    std::string units = "inch";
    MachineRecord machine;
    PartKey key;
};

class Tool {
public:
    Tool(const Request& request, std::ostream& out) : m_request(request), m_out(out) {}

    void init()
    {
        const std::string& path = m_request.database;
        bool existed = std::filesystem::exists(path);
        auto store = openSqliteStore(path, OpenMode::CreateIfMissing);
        m_out << (existed ? "Database " : "Created database ") << path << ": "
              << store->listShapes().size() << " shapes, " << store->listMachines().size()
              << " machines, " << store->listParts(std::nullopt).size() << " parts, "
              << store->listMults().size() << " mults.\n";
    }

    void check()
    {
        auto store = lookUp();
        store->checkIntegrity();
        m_out << "Database " << m_request.database << ": no damage found.\n";
    }

    void listShapes()
    {
        auto shapes = lookUp()->listShapes();
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
        print(table);
    }

    void addShape()
    {
        ShapeRecord shape = m_request.shape;
        shape.units = *unitsFromText(m_request.units);
        change()->addShape(shape);
        m_out << "Added shape " << shape.key.section << " " << shape.key.description << " ("
              << shape.name << ").\n";
    }

    void removeShape()
    {
        const ShapeKey& key = m_request.shape.key;
        change()->removeShape(key);
        m_out << "Removed shape " << key.section << " " << key.description << ".\n";
    }

    void listMachines()
    {
        auto machines = lookUp()->listMachines();
        if (machines.empty()) {
            m_out << "No machines.\n";
            return;
        }
        TextTable table({"NAME", "DESCRIPTION"});
        for (const MachineRecord& m : machines)
            table.addRow({m.name, m.description});
        print(table);
    }

    void addMachine()
    {
        change()->addMachine(m_request.machine);
        m_out << "Added machine " << m_request.machine.name << ".\n";
    }

    void removeMachine()
    {
        change()->removeMachine(m_request.machine.name);
        m_out << "Removed machine " << m_request.machine.name << ".\n";
    }

    void listParts()
    {
        const std::optional<std::string>& job = m_request.job;
        auto parts = lookUp()->listParts(job);
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
        print(table);
    }

    void showPart()
    {
        const PartKey& key = m_request.key;
        auto store = lookUp();
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
        auto mults = lookUp()->listMults();
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
        print(table);
    }

    void showMult()
    {
        const PartKey& key = m_request.key;
        auto store = lookUp();
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

private:
    // Look-ups read a database that exists and never write to it, so that
    // a read-only one can be looked at too.
    std::unique_ptr<TarsisStore> lookUp()
    {
        return openSqliteStore(m_request.database, OpenMode::ReadOnly);
    }

    std::unique_ptr<TarsisStore> change()
    {
        return openSqliteStore(m_request.database, OpenMode::ExistingOnly);
    }

    // Lists cut long cells unless --wide asks for them whole.
    void print(const TextTable& table)
    {
        table.print(m_out, "", m_request.wide ? TextTable::kWhole : kListCellWidth);
    }

    [[noreturn]] void notFound(const char* what, const PartKey& key, const TarsisStore& store)
    {
        throw StoreError(StoreError::Kind::NotFound, std::string("No ") + what + " " +
                                                         keyText(key) + " in " + store.location());
    }

    static constexpr std::size_t kListCellWidth = 24;

    const Request& m_request;
    std::ostream& m_out;
};

// The command line: every command with its own options and help.
class CommandLine {
public:
    CommandLine()
    {
        m_app.description("The Tarsis database: its shapes, machines, parts and mults.");
        m_app.footer("The database is FILE, else $TARSIS_DATABASE, else "
                     "$XDG_DATA_HOME/tarsis/tarsis.db (~/.local/share/tarsis/tarsis.db).");
        m_app.set_version_flag("--version",
                               "tarsis, database schema version " + std::to_string(kSchemaVersion));
        m_app.add_option("--database", m_database, "the database file")
            ->check(kNotEmpty)
            ->option_text("FILE");
        m_app.require_subcommand(0, 1);

        command(m_app, "help", "show this help", nullptr);
        command(m_app, "init", "create the database with its built-in catalog", &Tool::init);
        command(m_app, "check", "read the whole database and report any damage", &Tool::check);

        CLI::App* shapes = group("shapes", "the shapes the import checks sections against");
        wide(command(*shapes, "list", "list every shape", &Tool::listShapes));
        CLI::App* add = command(*shapes, "add", "add a shape", &Tool::addShape);
        shapeKey(*add);
        ShapeRecord& s = m_request.shape;
        add->add_option("--name", s.name, "the formal name, e.g. W12X26")
            ->required()
            ->check(kNotEmpty);
        add->add_option("--units", m_request.units, "inch (the default) or metric")
            ->check(CLI::IsMember({"inch", "metric"}));
        dimension(*add, "--depth", s.depth, "in inches or millimetres", true);
        dimension(*add, "--web-thickness", s.webThickness, "", true);
        dimension(*add, "--flange-width", s.flangeWidth, "", true);
        dimension(*add, "--flange-thickness", s.flangeThickness, "", true);
        dimension(*add, "--surface", s.surface, "painted surface per length (ft2/ft, m2/m)", false);
        dimension(*add, "--weight", s.weight, "per length (lb/ft, kg/m)", false);
        shapeKey(*command(*shapes, "remove", "remove a shape", &Tool::removeShape));

        CLI::App* machines = group("machines", "the machines mults are cut on");
        wide(command(*machines, "list", "list every machine", &Tool::listMachines));
        CLI::App* addMachine = command(*machines, "add", "add a machine", &Tool::addMachine);
        addMachine->add_option("NAME", m_request.machine.name)->required()->check(kNotEmpty);
        addMachine->add_option("DESCRIPTION", m_request.machine.description);
        command(*machines, "remove", "remove a machine", &Tool::removeMachine)
            ->add_option("NAME", m_request.machine.name)
            ->required()
            ->check(kNotEmpty);

        CLI::App* parts = group("parts", "the parts the import stored");
        CLI::App* listParts = command(*parts, "list", "list the parts", &Tool::listParts);
        listParts->add_option("--job", m_request.job, "only the parts of this job")
            ->check(kNotEmpty);
        wide(listParts);
        partKey(*command(*parts, "show", "show a part with every entry", &Tool::showPart));

        CLI::App* mults = group("mults", "the mults (bars cut into parts) the import stored");
        wide(command(*mults, "list", "list every mult", &Tool::listMults));
        partKey(*command(*mults, "show", "show a mult with its pieces", &Tool::showMult));
    }

    // 0 done, 1 the database refused or lacks what was asked, 2 a bad
    // command line. Help and the version go to out.
    int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
    {
        try {
            std::vector<std::string> reversed(args.rbegin(), args.rend());
            m_app.parse(reversed);
        } catch (const CLI::CallForHelp& e) {
            return m_app.exit(e, out, err);
        } catch (const CLI::CallForAllHelp& e) {
            return m_app.exit(e, out, err);
        } catch (const CLI::CallForVersion& e) {
            return m_app.exit(e, out, err);
        } catch (const CLI::ParseError& e) {
            err << "tarsis: " << e.what() << "\nRun 'tarsis --help' for the commands.\n";
            return 2;
        }
        if (!m_chosen) {
            // The tool's own usage, also when the help command was chosen.
            out << m_app.get_formatter()->make_help(&m_app, "tarsis", CLI::AppFormatMode::Normal);
            return 0;
        }
        m_request.database = m_database.value_or(defaultDatabasePath());
        Tool tool(m_request, out);
        (tool.*m_chosen)();
        return 0;
    }

private:
    using Action = void (Tool::*)();

    CLI::App* command(CLI::App& parent, const char* name, const char* description, Action action)
    {
        CLI::App* sub = parent.add_subcommand(name, description);
        sub->callback([this, action] { m_chosen = action; });
        return sub;
    }

    CLI::App* group(const char* name, const char* description)
    {
        CLI::App* sub = m_app.add_subcommand(name, description);
        sub->require_subcommand(1);
        return sub;
    }

    void wide(CLI::App* list)
    {
        list->add_flag("--wide", m_request.wide, "show long cells whole")
            ->multi_option_policy(CLI::MultiOptionPolicy::Throw);
    }

    void dimension(CLI::App& add, const char* name, double& value, const char* description,
                   bool required)
    {
        CLI::Option* option =
            add.add_option(name, value, description)->check(kDecimal)->type_name("NUMBER");
        if (required)
            option->required();
    }

    void shapeKey(CLI::App& sub)
    {
        sub.add_option("SECTION", m_request.shape.key.section, "e.g. W")
            ->required()
            ->check(kNotEmpty);
        sub.add_option("DESCRIPTION", m_request.shape.key.description, "e.g. 1226")
            ->required()
            ->check(kNotEmpty);
    }

    void partKey(CLI::App& sub)
    {
        sub.add_option("JOB", m_request.key.job)->required()->check(kNotEmpty);
        sub.add_option("GROUP", m_request.key.group)->required()->check(kNotEmpty);
        sub.add_option("MARK", m_request.key.mark)->required()->check(kNotEmpty);
    }

    CLI::App m_app{"", "tarsis"};
    std::optional<std::string> m_database;
    Request m_request;
    Action m_chosen = nullptr;
};

} // namespace

int runTarsisTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    try {
        return CommandLine().run(args, out, err);
    } catch (const std::exception& e) {
        err << "tarsis: " << e.what() << "\n";
        return 1;
    }
}

} // namespace tarsis
