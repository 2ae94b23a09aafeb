// The registrar on scripts of the shapes the servers use: what registration
// writes, what unregistration removes, and malformed scripts.
#include "RegistryFixture.h"

#include "com/server/Registrar.h"

using comserver::Registrar;

namespace {

// A class script of the part-model server's shape.
const char* const classScript = R"(HKCR
{
	Velmora.CADPart.1 = s 'CADPart Class'
	{
		CLSID = s '{BA2EF012-F351-11D2-A3F9-00A0249F4DED}'
	}
	Velmora.CADPart = s 'CADPart Class'
	{
		CLSID = s '{BA2EF012-F351-11D2-A3F9-00A0249F4DED}'
		CurVer = s 'Velmora.CADPart.1'
	}
	NoRemove CLSID
	{
		ForceRemove {BA2EF012-F351-11D2-A3F9-00A0249F4DED} = s 'CADPart Class'
		{
			ProgID = s 'Velmora.CADPart.1'
			VersionIndependentProgID = s 'Velmora.CADPart'
			ForceRemove 'Programmable'
			InprocServer32 = s '%MODULE%'
			{
				val ThreadingModel = s 'Apartment'
			}
			'TypeLib' = s '{BA2EF005-F351-11D2-A3F9-00A0249F4DED}'
		}
	}
}
)";

const std::string classKey = "CLSID\\{BA2EF012-F351-11D2-A3F9-00A0249F4DED}";

class RegistrarTest : public RegistryFixture {
protected:
    Registrar registrar() const
    {
        Registrar r("registrar script 101");
        r.addReplacement("MODULE", "/opt/cad conv/lib/libhalcyra.so");
        return r;
    }
};

TEST_F(RegistrarTest, RegistersAClassScript)
{
    ASSERT_EQ(registrar().registerScript(classScript), S_OK);

    EXPECT_EQ(stringValue(HKEY_CLASSES_ROOT, "Velmora.CADPart.1"), "CADPart Class");
    EXPECT_EQ(stringValue(HKEY_CLASSES_ROOT, "Velmora.CADPart.1\\CLSID"),
              "{BA2EF012-F351-11D2-A3F9-00A0249F4DED}");
    EXPECT_EQ(stringValue(HKEY_CLASSES_ROOT, "Velmora.CADPart\\CurVer"), "Velmora.CADPart.1");
    EXPECT_EQ(stringValue(HKEY_CLASSES_ROOT, classKey), "CADPart Class");
    EXPECT_EQ(stringValue(HKEY_CLASSES_ROOT, classKey + "\\VersionIndependentProgID"),
              "Velmora.CADPart");
    EXPECT_TRUE(keyExists(HKEY_CLASSES_ROOT, classKey + "\\Programmable"));
    EXPECT_EQ(stringValue(HKEY_CLASSES_ROOT, classKey + "\\InprocServer32"),
              "/opt/cad conv/lib/libhalcyra.so");
    EXPECT_EQ(stringValue(HKEY_CLASSES_ROOT, classKey + "\\InprocServer32", "ThreadingModel"),
              "Apartment");
    EXPECT_EQ(stringValue(HKEY_CLASSES_ROOT, classKey + "\\TypeLib"),
              "{BA2EF005-F351-11D2-A3F9-00A0249F4DED}");
}

TEST_F(RegistrarTest, RegisteringTwiceRewritesTheForceRemoveKeyAsAWhole)
{
    ASSERT_EQ(registrar().registerScript(classScript), S_OK);
    std::string once =
        dump(HKEY_CLASSES_ROOT, classKey) + dump(HKEY_CLASSES_ROOT, "Velmora.CADPart");
    HKEY stale = nullptr;
    ASSERT_EQ(RegCreateKeyEx(HKEY_CLASSES_ROOT, (classKey + "\\Stale").c_str(), 0, nullptr, 0,
                             KEY_ALL_ACCESS, nullptr, &stale, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(stale);

    ASSERT_EQ(registrar().registerScript(classScript), S_OK);
    EXPECT_EQ(dump(HKEY_CLASSES_ROOT, classKey) + dump(HKEY_CLASSES_ROOT, "Velmora.CADPart"), once);
}

TEST_F(RegistrarTest, UnregisteringRemovesWhatTheScriptWroteButKeepsNoRemoveKeys)
{
    HKEY other = nullptr;
    ASSERT_EQ(RegCreateKeyEx(HKEY_CLASSES_ROOT, "CLSID\\{00000000-1111-2222-3333-444444444444}", 0,
                             nullptr, 0, KEY_ALL_ACCESS, nullptr, &other, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(other);
    ASSERT_EQ(registrar().registerScript(classScript), S_OK);

    ASSERT_EQ(registrar().unregisterScript(classScript), S_OK);
    EXPECT_FALSE(keyExists(HKEY_CLASSES_ROOT, "Velmora.CADPart.1"));
    EXPECT_FALSE(keyExists(HKEY_CLASSES_ROOT, "Velmora.CADPart"));
    EXPECT_FALSE(keyExists(HKEY_CLASSES_ROOT, classKey));
    EXPECT_TRUE(keyExists(HKEY_CLASSES_ROOT, "CLSID\\{00000000-1111-2222-3333-444444444444}"));
    // Unregistering what is not there is no failure.
    EXPECT_EQ(registrar().unregisterScript(classScript), S_OK);
}

TEST_F(RegistrarTest, NoRemoveKeysLoseTheirNamedValuesAndSubkeysOnly)
{
    const char* script = R"(HKLM
{
	NoRemove Software
	{
		NoRemove Velmora = s 'kept'
		{
			val Installed = d '1'
			Cache
		}
	}
})";
    ASSERT_EQ(registrar().registerScript(script), S_OK);
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyEx(HKEY_LOCAL_MACHINE, "Software\\Velmora", 0, KEY_ALL_ACCESS, &key),
              ERROR_SUCCESS);
    const char other[] = "theirs";
    RegSetValueEx(key, "Other", 0, REG_SZ, reinterpret_cast<const BYTE*>(other), sizeof other);
    RegCloseKey(key);

    ASSERT_EQ(registrar().unregisterScript(script), S_OK);
    EXPECT_EQ(
        dump(HKEY_LOCAL_MACHINE, "Software\\Velmora"),
        "Software\\Velmora\nSoftware\\Velmora [] = kept\nSoftware\\Velmora [Other] = theirs\n");
}

TEST_F(RegistrarTest, DeleteRemovesTheKeyOnRegistrationAndNothingOnUnregistration)
{
    ASSERT_EQ(registrar().registerScript("HKCU { Old { Inner = s 'x' } Keep }"), S_OK);
    const char* script = "HKCU { Delete Old Keep }";
    ASSERT_EQ(registrar().registerScript(script), S_OK);
    EXPECT_FALSE(keyExists(HKEY_CURRENT_USER, "Old"));
    ASSERT_EQ(registrar().registerScript("HKCU { Old }"), S_OK);
    ASSERT_EQ(registrar().unregisterScript(script), S_OK);
    EXPECT_TRUE(keyExists(HKEY_CURRENT_USER, "Old"));
    EXPECT_FALSE(keyExists(HKEY_CURRENT_USER, "Keep"));
}

TEST_F(RegistrarTest, ValuesNamesAndReplacements)
{
    Registrar r("script");
    r.addReplacement("MODULE", "/lib/it's.so");
    const char* script = R"(HKEY_CURRENT_USER
{
	'Quote''s key' = s '100%% sure'
	{
		val Hex = d '0x1F'
		val Decimal = d 4294967295
		val 'Module' = s '%MODULE%'
		val Bare = s 'at %MODULE% end'
	}
})";
    ASSERT_EQ(r.registerScript(script), S_OK);
    EXPECT_EQ(dump(HKEY_CURRENT_USER, "Quote's key"), "Quote's key\n"
                                                      "Quote's key [] = 100% sure\n"
                                                      "Quote's key [Hex] = dword 31\n"
                                                      "Quote's key [Decimal] = dword 4294967295\n"
                                                      "Quote's key [Module] = /lib/it's.so\n"
                                                      "Quote's key [Bare] = at /lib/it's.so end\n");
}

struct MalformedCase {
    const char* script;
    const char* message; // after "test script, "
};

TEST_F(RegistrarTest, MalformedScriptsWriteNothingAndSayWhereAndWhat)
{
    const MalformedCase cases[] = {
        {"HKCR\n{\n  Good\n  Bad = s 'open\n}", "line 4: a quoted text without its closing quote"},
        {"HKXX { Good }", "line 1: unknown root key \"HKXX\""},
        {"HKCR Good", "line 1: expected '{' after HKCR, found \"Good\""},
        {"HKCR\n{\n  Good\n  {\n", "line 5: missing '}' for the '{' on line 4"},
        {"}", "line 1: expected a root key (HKCR, HKLM or HKCU), found \"}\""},
        {"HKCR { Good = x 'y' }", "line 1: expected a value type (s or d) after '=', found \"x\""},
        {"HKCR { Good = s bare }", "line 1: expected a quoted text after s, found \"bare\""},
        {"HKCR { Good { val N = d '12a' } }", "line 1: '12a' is not a number from 0 to 4294967295"},
        {"HKCR { Good { val N = d 4294967296 } }",
         "line 1: \"4294967296\" is not a number from 0 to 4294967295"},
        {"HKCR { Good = s '%NOPE%' }", "line 1: unknown replacement %NOPE%"},
        {"HKCR { Good = s '50% }", "line 1: a '%' without its closing '%'"},
        {"HKCR { Good\n Delete Gone { Inner } }",
         "line 2: the Delete key \"Gone\" takes no value and no subkeys"},
        {"HKCR { val N = s 'x' }", "line 1: a value cannot stand directly under a root key"},
        {"HKCR { NoRemove ForceRemove Good }", "line 1: expected a key name, found the keyword "
                                               "\"ForceRemove\" (quote it to use it as a name)"},
        {"HKCR { 'A\\B' }", "line 1: the key name \"A\\B\" holds a backslash"},
        {"HKCR { Good { val '' = s 'x' } }", "line 1: empty value name"},
        {"HKCR { Good { val N s 'x' } }",
         "line 1: expected '=' after the value name \"N\", found \"s\""},
    };
    for (const MalformedCase& c : cases) {
        SCOPED_TRACE(c.script);
        Registrar r("test script");
        EXPECT_EQ(r.registerScript(c.script), DISP_E_EXCEPTION);
        EXPECT_EQ(takeErrorDescription(), std::string("test script, ") + c.message);
        EXPECT_FALSE(keyExists(HKEY_CLASSES_ROOT, "Good"));
        EXPECT_EQ(r.unregisterScript(c.script), DISP_E_EXCEPTION);
        takeErrorDescription();
    }
}

// A script that fails part way (here on a damaged hive) writes nothing of
// what it did before, and says which file and line are damaged.
TEST_F(RegistrarTest, AScriptThatFailsPartWayWritesNothing)
{
    const std::string userHive = (m_registry.directory() / "HKCU.reg").string();
    const std::string damaged = "vlmr-registry version 2\n[Software]\n";
    testsupport::writeFile(userHive, damaged);
    Registrar r("test script");
    EXPECT_EQ(r.registerScript("HKCR { Good = s 'x' }\nHKCU { Software { Mine = s 'y' } }"),
              HRESULT_FROM_WIN32(ERROR_BADDB));
    EXPECT_EQ(takeErrorDescription(),
              "test script, line 2: cannot create key HKCU\\Software: registry file " + userHive +
                  ", line 3: the end line \"vlmr-registry end\" is missing: the file "
                  "is cut short");
    EXPECT_FALSE(keyExists(HKEY_CLASSES_ROOT, "Good"));
    EXPECT_EQ(testsupport::readFile(userHive), damaged);
}

} // namespace
