"""Files written by HandsetPort.exe (the library's import and export code) are
read with third-party readers and compared with the handset's own records;
files written by third-party writers are imported and compared the same way."""
import datetime
import glob
import json
import os
import shutil
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET

import openpyxl
import vobject
import xlrd
import xlwt

ROOT, BIN = sys.argv[1], sys.argv[2]
failures = []


def check(condition, what):
    if not condition:
        failures.append(what)
        print("MISMATCH:", what)


def win(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def wine(program, *args):
    command = [os.path.join(ROOT, "scripts", "wine-run"), os.path.join(BIN, program)] + list(args)
    done = subprocess.run(command, capture_output=True)
    if done.returncode != 0:
        sys.exit(f"{program} {' '.join(args)} failed ({done.returncode}):\n"
                 f"{done.stderr.decode('utf-8', 'replace')}")
    return done.stdout.decode("utf-8")


def port(*args):
    return wine("HandsetPort.exe", *args)


def dump(handset, what):
    return [json.loads(line) for line in port("dump", "--handset", win(handset), "--what", what).splitlines() if line]


def mobiles(record):
    return sorted(p.split(":", 1)[1] for p in record["phones"] if p.startswith("2:"))


def rows_of(sheet_rows):
    rows = [[("" if v is None else str(v)) for v in row] for row in sheet_rows]
    header = rows[0]
    return [dict(zip(header, row)) for row in rows[1:]]


def workbook_rows(path, ext):
    """The first sheet's rows as dicts by header title, read by openpyxl or xlrd."""
    if ext == "xlsx":
        return rows_of(openpyxl.load_workbook(path, read_only=True).worksheets[0].iter_rows(values_only=True))
    sheet = xlrd.open_workbook(path).sheet_by_index(0)
    return rows_of(sheet.row_values(r) for r in range(sheet.nrows))


def lines(cell):
    return [line for line in cell.splitlines() if line]


work = tempfile.mkdtemp(prefix="pim-interop-")
handset = os.path.join(work, "sample.dat")
wine("HandsetGen.exe", "--out", win(handset), "--contacts", "40", "--messages", "150", "--events", "0", "--seed", "7")
contacts = dump(handset, "contacts")
messages = dump(handset, "messages")
assert len(contacts) == 40 and len(messages) == 150, (len(contacts), len(messages))

# --- written by us, read by them ---
for ext in ("xlsx", "xls"):
    path = os.path.join(work, f"contacts.{ext}")
    port("export", "--handset", win(handset), "--what", "contacts", "--format", ext, "--out", win(path))
    rows = workbook_rows(path, ext)
    check(len(rows) == len(contacts), f"{ext}: {len(rows)} rows for {len(contacts)} contacts")
    for row, record in zip(rows, contacts):
        check(row["Name"] == record["name"], f"{ext}: name {row['Name']!r} != {record['name']!r}")
        check(sorted(lines(row["Mobile"])) == mobiles(record), f"{ext}: mobile of {record['name']}")
        check(sorted(line.split(": ")[-1] for line in lines(row["E-mail"])) == record["emails"],
              f"{ext}: e-mails of {record['name']}")
        check(row["Company"] == record["company"], f"{ext}: company of {record['name']}")
        check(sorted(lines(row["Groups"])) == sorted(record["groups"]), f"{ext}: groups of {record['name']}")

cards = os.path.join(work, "cards")
os.mkdir(cards)
port("export", "--handset", win(handset), "--what", "contacts", "--format", "vcard", "--out", win(cards))
read = {}
for path in glob.glob(os.path.join(cards, "*.vcf")):
    with open(path, encoding="utf-8") as f:
        for card in vobject.readComponents(f.read()):
            read[card.fn.value] = card
check(len(read) == len(contacts), f"vcard: {len(read)} cards for {len(contacts)} contacts")
for record in contacts:
    card = read.get(record["name"])
    if card is None:
        check(False, f"vcard: no card named {record['name']!r}")
        continue
    tels = sorted(t.value for t in card.contents.get("tel", []))
    check(tels == sorted(p.split(":", 1)[1] for p in record["phones"]), f"vcard: numbers of {record['name']}")
    emails = sorted(e.value for e in card.contents.get("email", []))
    check(emails == sorted(record["emails"]), f"vcard: e-mails of {record['name']}")
    if record["company"]:
        check(card.org.value[0] == record["company"], f"vcard: company of {record['name']}")
    n = card.n.value
    check((n.family, n.given) == (record["family"], record["given"]), f"vcard: structured name of {record['name']}")

xml_path = os.path.join(work, "contacts.xml")
port("export", "--handset", win(handset), "--what", "contacts", "--format", "xml", "--out", win(xml_path))
subprocess.run(["xmllint", "--noout", xml_path], check=True)
tree = ET.parse(xml_path).getroot()
check(tree.tag.endswith("contacts"), f"xml: root {tree.tag}")
check(len([e for e in tree if e.tag.endswith("}contact")]) == len(contacts), "xml: contact count")

for ext in ("xlsx", "xls", "xml"):
    path = os.path.join(work, f"messages.{ext}")
    port("export", "--handset", win(handset), "--what", "messages", "--format", ext, "--out", win(path))
    if ext == "xml":
        subprocess.run(["xmllint", "--noout", path], check=True)
        bodies = [e.text or "" for e in ET.parse(path).getroot() if e.tag.endswith("}message")]
        check(len(bodies) == len(messages), "xml: message count")
        continue
    rows = workbook_rows(path, ext)
    check(len(rows) == len(messages), f"{ext}: {len(rows)} rows for {len(messages)} messages")
    for row, record in zip(rows, messages):
        check(row["Number"] == record["number"], f"{ext}: number {row['Number']!r}")
        check(row["Content"] == record["body"], f"{ext}: body of a message from {record['number']}")
        t = record["time"]
        shown = f"{t[0:4]}-{t[4:6]}-{t[6:8]} {t[9:11]}:{t[11:13]}:{t[13:15]}"
        check(row["Time"] == shown, f"{ext}: time {row['Time']!r} != {shown!r}")

# --- written by them, read by us ---
people = [("陈静", 13800138000, "chen@example.com", "朋友"), ("Li Lei", 8613911112222, "", "")]
book = openpyxl.Workbook()
sheet = book.active
sheet.title = "通讯录"
sheet.append(["电子邮件", "姓名", "手机", "分组"])  # another order, Chinese titles
for name, mobile, email, group in people:
    sheet.append([email, name, mobile, group])  # the number stays a number cell
book.save(os.path.join(work, "theirs.xlsx"))
old = xlwt.Workbook(encoding="utf-8")
old_sheet = old.add_sheet("Contacts")
for c, title in enumerate(["Name", "Mobile", "E-mail", "Groups"]):
    old_sheet.write(0, c, title)
for r, (name, mobile, email, group) in enumerate(people, start=1):
    for c, value in enumerate([name, mobile, email, group]):
        old_sheet.write(r, c, value)
old.save(os.path.join(work, "theirs.xls"))
theirs_cards = os.path.join(work, "theirs-cards")
os.mkdir(theirs_cards)
for name, mobile, email, group in people:
    card = vobject.vCard()
    card.add("n").value = vobject.vcard.Name(family=name[0], given=name[1:])
    card.add("fn").value = name
    tel = card.add("tel")
    tel.value = str(mobile)
    tel.type_param = "CELL"
    if email:
        card.add("email").value = email
    with open(os.path.join(theirs_cards, f"{mobile}.vcf"), "w", encoding="utf-8") as f:
        f.write(card.serialize())

for source, fmt in (("theirs.xlsx", "excel"), ("theirs.xls", "excel"), ("theirs-cards", "vcard")):
    target = os.path.join(work, f"into-{source}.dat")
    port("import", "--handset", win(target), "--what", "contacts", "--format", fmt, "--in", win(os.path.join(work, source)))
    got = {c["name"]: c for c in dump(target, "contacts")}
    for name, mobile, email, group in people:
        record = got.get(name)
        if record is None:
            check(False, f"{source}: {name} was not imported ({sorted(got)})")
            continue
        check(mobiles(record) == [str(mobile)], f"{source}: mobile of {name}: {record['phones']}")
        check(record["emails"] == ([email] if email else []), f"{source}: e-mail of {name}")
        if fmt == "excel":
            check(record["groups"] == ([group] if group else []), f"{source}: groups of {name}")

sent = openpyxl.Workbook()
ws = sent.active
ws.append(["Time", "Number", "Content", "Folder"])
ws.append([datetime.datetime(2026, 3, 1, 9, 30), "10086", "余额提醒", "Bills"])
sent.save(os.path.join(work, "their-messages.xlsx"))
target = os.path.join(work, "into-messages.dat")
port("import", "--handset", win(target), "--what", "messages", "--format", "excel",
     "--in", win(os.path.join(work, "their-messages.xlsx")))
got = dump(target, "messages")
check(len(got) == 1 and got[0]["time"] == "20260301T093000Z" and got[0]["body"] == "余额提醒",
      f"their-messages.xlsx: {got}")

if failures:
    sys.exit(f"{len(failures)} mismatches (files kept in {work})")
shutil.rmtree(work)
print("interop: every file read back the same")
