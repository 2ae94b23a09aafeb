"""Opens each DXF drawing named on the command line with the DXF library
(Debian package python3-ezdxf) as CAD programs read it, and fails when the
library's audit finds an error in one of them."""
import sys

import ezdxf

failed = False
for path in sys.argv[1:]:
    doc = ezdxf.readfile(path)
    auditor = doc.audit()
    for error in auditor.errors:
        print(f"{path}: {error.message}")
    if auditor.has_errors:
        failed = True
    else:
        print(f"{path}: {doc.dxfversion}, {len(doc.modelspace())} entities, no error")
sys.exit(1 if failed else 0)
