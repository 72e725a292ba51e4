#!/usr/bin/env python3
# Checks the application manifest that kvet.rc embeds in every Windows
# program: per-monitor DPI awareness (v2), common controls 6, asInvoker.
#   python3 packaging/windows/check-manifest.py src/app/kvet.manifest
import sys
import xml.etree.ElementTree as ET

asm_v1 = "{urn:schemas-microsoft-com:asm.v1}"
asm_v3 = "{urn:schemas-microsoft-com:asm.v3}"
ws2016 = "{http://schemas.microsoft.com/SMI/2016/WindowsSettings}"
root = ET.parse(sys.argv[1]).getroot()  # raises on XML that is not well-formed
faults = []
if root.tag != asm_v1 + "assembly":
    faults.append("root element is not asm.v1 <assembly>")
awareness = [e.text.strip() for e in root.iter(ws2016 + "dpiAwareness") if e.text]
if not any("PerMonitorV2" in a.split(",")[0] for a in awareness):
    faults.append("no <dpiAwareness> starting with PerMonitorV2")
controls = [e for e in root.iter(asm_v1 + "assemblyIdentity")
            if e.get("name") == "Microsoft.Windows.Common-Controls" and e.get("version", "").startswith("6.")]
if not controls:
    faults.append("no dependency on Microsoft.Windows.Common-Controls 6")
levels = [e.get("level") for e in root.iter(asm_v3 + "requestedExecutionLevel")]
if levels != ["asInvoker"]:
    faults.append("requestedExecutionLevel is not asInvoker: %s" % levels)
for f in faults:
    print("kvet.manifest: " + f, file=sys.stderr)
sys.exit(1 if faults else 0)
