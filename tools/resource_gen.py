#!/usr/bin/env python3
"""Writes the device descriptions and pictures of the shipped resource folder.

The INI files and PNG pictures under resources/Coupler, resources/Terminal and
resources/Graph are generated from the tables below, so that a new device type is one
table row and every file keeps the same layout. Run from the repository root:

    python3 tools/resource_gen.py            # descriptions and pictures
    python3 tools/resource_gen.py --no-pictures

Pictures need ImageMagick's `convert` (the Debian package imagemagick).
"""
import argparse
import os
import shutil
import subprocess
import sys

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "resources")


def hexword(value):
    return "0x%04X" % (value & 0xFFFF)


# ---------------------------------------------------------------------------
# INI writing
# ---------------------------------------------------------------------------

class Section:
    def __init__(self, name):
        self.name = name
        self.items = []

    def add(self, key, value):
        self.items.append((key, str(value)))


def write_ini(path, sections):
    lines = []
    for section in sections:
        if lines:
            lines.append("")
        lines.append("[%s]" % section.name)
        for key, value in section.items:
            lines.append("%s=%s" % (key, value))
    with open(path, "w", encoding="utf-8", newline="\n") as f:
        f.write("\n".join(lines) + "\n")


def common_section(name, de, en, picture, pic_size, current):
    s = Section("Common")
    s.add("Name", name)
    s.add("Lang0_Desc", de)
    s.add("Lang1_Desc", en)
    s.add("Picture", picture)
    s.add("PicSize", pic_size)
    s.add("CurrentKBus", current)
    return s


def register_sections(table, values, texts):
    """values: {register: value}; texts: {register: (German, English)}."""
    vs = Section("RegValue_Table%d" % table)
    for reg in sorted(values):
        vs.add("Reg%d" % reg, hexword(values[reg]))
    result = [vs]
    if texts:
        ds = Section("RegDesc_Table%d" % table)
        for reg in sorted(texts):
            de, en = texts[reg]
            ds.add("Lang0_Reg%d" % reg, de)
            ds.add("Lang1_Reg%d" % reg, en)
        result.append(ds)
    return result


# ---------------------------------------------------------------------------
# Couplers
# ---------------------------------------------------------------------------

# Newer identification block of table 0: register 248 carries the marker, 246 the coupler
# kind (1 plain coupler, 2 box module QP, 32 box module QI, 256 controller-coupler) and
# 247 the variant (0 for QZ, 2 for QL). The type name follows from these registers, the
# suffix register 250 (or 201/202 for box modules) and the coupler's type number.
IDENT_MARKER = 0x7C4E
KIND = {"QZ": (1, 0), "QL": (1, 2), "QY": (256, 0), "QP": (2, 0), "QI": (32, 0)}

FIRMWARE_VERSION = 0x0120

GENERAL_TEXTS = {
    1: ("SPS-Interface und Weg der Diagnosemeldungen", "PLC interface and route of diagnostic messages"),
    2: ("Auto-Reset, Gerätediagnose, Diagnose dig. Klemmen", "Auto reset, device diagnostic, diagnostic of digital terminals"),
    3: ("Prozessabbild 1", "Process image 1"),
    4: ("Prozessabbild 2", "Process image 2"),
    5: ("Prozessabbild 3", "Process image 3"),
    6: ("Prozessabbild 4", "Process image 4"),
    7: ("Prozessabbild-Offset Master-Slave", "Process image offset master-slave"),
    8: ("Prozessabbild-Offset Slave-Master", "Process image offset slave-master"),
    9: ("Wartezeit nach SYNC_0", "Waiting time after SYNC_0"),
    10: ("Wartezeit nach SYNC_1", "Waiting time after SYNC_1"),
    11: ("Alte Klemmen Konfiguration", "Configuration of old terminals"),
    246: ("Kopplerart", "Coupler kind"),
    247: ("Kopplervariante", "Coupler variant"),
    248: ("Kennung Identifikationsblock", "Identification block marker"),
    250: ("Typ-Endung", "Type suffix"),
    255: ("Firmware-Version", "Firmware version"),
}
BOX_IDENT_TEXTS = {
    201: ("Modulnummer", "Module number"),
    202: ("Feldbus-Variante", "Fieldbus variant"),
}

# Process-image words of table 0 registers 3-6: image active, autoconfiguration and the
# autoconfiguration preset of the coupler's group; outputs and inputs are reset on a
# fieldbus or terminal-bus error.
IMAGE_ACTIVE, IMAGE_AUTO, IMAGE_EVAL, IMAGE_MOTOROLA, IMAGE_ALIGN = 0x01, 0x02, 0x04, 0x08, 0x20
ERROR_REACTION = 0x0100 | 0x0400


def image_word(preset):
    return IMAGE_ACTIVE | IMAGE_AUTO | preset | ERROR_REACTION


IMAGE_PRESETS = {
    "A": [image_word(IMAGE_EVAL | IMAGE_ALIGN)],
    "B": [image_word(IMAGE_MOTOROLA), image_word(IMAGE_EVAL)],
    "C": [image_word(IMAGE_MOTOROLA)],
    "D": [image_word(IMAGE_EVAL)],
    "other": [image_word(IMAGE_EVAL)],
}

CONTROLLER_VALUES = {0: 0, 1: 16, 2: 0, 3: 16, 12: 10, 13: 5, 14: 0x0040, 15: 0}
for _r in range(4, 12):
    CONTROLLER_VALUES[_r] = 0xFFFF  # every terminal a PLC terminal (complex), the default code 3
CONTROLLER_TEXTS = {
    0: ("Offset der SPS-Eingänge im Feldbusinterface", "Offset of PLC inputs in fieldbus interface"),
    1: ("Länge des SPS-Eingangsabbilds im Feldbusinterface", "Length of PLC inputs in fieldbus interface"),
    2: ("Offset der SPS-Ausgänge im Feldbusinterface", "Offset of PLC outputs in fieldbus interface"),
    3: ("Länge des SPS-Ausgangsabbilds im Feldbusinterface", "Length of PLC outputs in fieldbus interface"),
    12: ("SPS-Zykluszeit [ms]", "PLC cycle time [ms]"),
    13: ("SPS-Hintergrundzeit [ms]", "PLC background time [ms]"),
    14: ("Steuerwort des Controllers", "Controller flag word"),
    15: ("Anzahl der remanenten Bytes", "Number of remanent bytes"),
}
for _r in range(4, 12):
    _first = (_r - 4) * 8 + 1
    CONTROLLER_TEXTS[_r] = ("Zuordnung Klemmen %d-%d" % (_first, _first + 7),
                            "Link terminals %d-%d" % (_first, _first + 7))
CYCLE_VALUES = {0: 0xFFFF, 1: 0, 2: 0, 3: 0}
CYCLE_TEXTS = {
    0: ("Minimale SPS-Zykluszeit [8 µs]", "Minimal PLC cycle time [8 µs]"),
    1: ("Maximale SPS-Zykluszeit [8 µs]", "Maximal PLC cycle time [8 µs]"),
    2: ("Aktuelle SPS-Zykluszeit [8 µs]", "Current PLC cycle time [8 µs]"),
    3: ("Mittlere SPS-Zykluszeit [8 µs]", "Average PLC cycle time [8 µs]"),
}


def ascii_words(text, first_reg, count):
    data = text.encode("ascii") + b"\0" * (2 * count)
    return {first_reg + k: data[2 * k] | (data[2 * k + 1] << 8) for k in range(count)}


def ethernet_table100(dhcp_name):
    values = {0: 0xA8C0, 1: 0x1401, 2: 0xFFFF, 3: 0x00FF}  # 192.168.1.20 / 255.255.255.0
    values.update(ascii_words(dhcp_name, 4, 11))
    values[15] = 0
    values[16] = 0x3100  # 100 Mbps, auto negotiation, full duplex
    return values


ETHERNET_TEXTS = {
    0: ("IP-Adresse Byte 1 und 2", "IP address bytes 1 and 2"),
    1: ("IP-Adresse Byte 3 und 4", "IP address bytes 3 and 4"),
    2: ("Subnetzmaske Byte 1 und 2", "Subnet mask bytes 1 and 2"),
    3: ("Subnetzmaske Byte 3 und 4", "Subnet mask bytes 3 and 4"),
    16: ("Verbindung: Bit 13 100 Mbps, Bit 12 ANEG, Bit 8 Vollduplex",
         "Link: bit 13 100 Mbps, bit 12 ANEG, bit 8 full duplex"),
}
for _r in range(4, 15):
    ETHERNET_TEXTS[_r] = ("DHCP-Name Zeichen %d und %d" % (2 * (_r - 4) + 1, 2 * (_r - 4) + 2),
                          "DHCP name characters %d and %d" % (2 * (_r - 4) + 1, 2 * (_r - 4) + 2))

# Table 100 per dialog family: (TableLen, register defaults, register texts).
DP_TEXTS = {
    0: ("Betriebsart (0 DP und FMS, 1 nur DP, 2 nur FMS)", "Operation mode (0 DP and FMS, 1 only DP, 2 only FMS)"),
    1: ("Tel.-Antwortzeit (min TSDR), 11-255", "Tel. response time (min TSDR), 11-255"),
    2: ("max. DP-Diagnoselänge", "max. length of DP diagnostic"),
}


def dp_table100(mode):
    return (15, {0: mode, 1: 11, 2: 32, 3: 0, 4: 0}, DP_TEXTS)


CAN_BAUD_TEXTS = {
    k: ("Baudrate-Code bei DIP 7,8 (%d,%d)" % (k & 1, k >> 1), "Baud rate code at DIP 7,8 (%d,%d)" % (k & 1, k >> 1))
    for k in range(4)
}
CAN_BAUD_DEFAULTS = [0, 2, 3, 5]  # 1000, 500, 250 and 100 kbit/s

FAMILY_TABLE100 = {
    "QZ2000": (15, {0: 0, 1: 0, 2: 0, 3: 0, 9: 100}, {
        0: ("IIO-Interrupt 1 (Bit 15 aktiv, Bit 9-11 Bit, Bit 0-8 Byte)", "IIO interrupt 1 (bit 15 active, bits 9-11 bit, bits 0-8 byte)"),
        1: ("IIO-Interrupt 2", "IIO interrupt 2"),
        2: ("IIO-Interrupt 3", "IIO interrupt 3"),
        3: ("IIO-Interrupt 4", "IIO interrupt 4"),
        9: ("Watchdog [ms]", "Watchdog [ms]")}),
    "QZ4000": (15, {0: 0x000E, 1: 0x0001}, {
        0: ("Betriebsmodi (Bit 0 Synchron, 1 Wort 6/7, 2 Byte, 3 Nibble)", "Operating modes (bit 0 synchron, 1 word 6/7, 2 byte, 3 nibble)"),
        1: ("Gerätediagnose (Bit 0 Modulfehlermeldung)", "Device diagnostic (bit 0 module error message)")}),
    "QZ5000": (31, {0: 3, 1: 2, 2: 300, 3: 2, 13: 0, 14: 0, 15: 0, 16: 0}, {
        0: ("Baudrate-Code (0 1000 ... 7 10 kbit/s)", "Baud rate code (0 1000 ... 7 10 kbit/s)"),
        1: ("Knotenklasse (0 oder 2)", "Node class (0 or 2)"),
        2: ("Guard-Zeit [ms]", "Guard time [ms]"),
        3: ("Life-Time-Factor", "Life time factor"),
        13: ("Timer 1 Zykluszeit [ms]", "Timer 1 cycle time [ms]"),
        14: ("Timer 2 Zykluszeit [ms]", "Timer 2 cycle time [ms]"),
        15: ("Timer 3 Zykluszeit [ms]", "Timer 3 cycle time [ms]"),
        16: ("Timer 4 Zykluszeit [ms]", "Timer 4 cycle time [ms]")}),
    "QZ5110": (15, dict(enumerate(CAN_BAUD_DEFAULTS)), CAN_BAUD_TEXTS),
    # The dialog of this series edits registers 34-37; the coupler services read the same
    # four settings from registers 0-3, so both places carry them.
    "QZ5100": (63, {**dict(enumerate(CAN_BAUD_DEFAULTS)), **{34 + k: v for k, v in enumerate(CAN_BAUD_DEFAULTS)}},
               {**CAN_BAUD_TEXTS, **{34 + k: t for k, t in CAN_BAUD_TEXTS.items()}}),
    "QZ5200": (15, {0: 0x0404, 1: 0x0104, 4: 0x0404, 5: 10}, {
        0: ("Datensatz Poll (produziert)", "Data set poll (produced)"),
        1: ("Datensatz Poll/COS/Cyclic (konsumiert)", "Data set poll/COS/cyclic (consumed)"),
        4: ("Datensatz COS/Cyclic (produziert)", "Data set COS/cyclic (produced)"),
        5: ("Change of State: Inhibit Time [ms]", "Change of state: inhibit time [ms]")}),
    "QZ7300": (15, {0: 1000, 1: 0, 2: 0x0007, 3: 1, 4: 5, 5: 1}, {
        0: ("Watchdog", "Watchdog"),
        1: ("Modus (0 RTU, 1 ASCII)", "Mode (0 RTU, 1 ASCII)"),
        2: ("Zeichenrahmen", "Character frame"),
        3: ("Baudrate-Index (Bit 15 fest)", "Baud rate index (bit 15 fixed)"),
        4: ("RTU Rahmenende [ms]", "RTU end of frame [ms]"),
        5: ("ASCII Rahmenende [s]", "ASCII end of frame [s]")}),
    "QZ8000": (15, {0: 200, 1: 2, 2: 1000}, {
        0: ("Watchdog [ms]", "Watchdog [ms]"),
        1: ("Antwortverzögerung [ms]", "Response delay [ms]"),
        2: ("Startverzögerung [ms]", "Start delay [ms]")}),
}


def coupler(name, family, preset, de, en, colour, controller=False, ethernet=None, table100=None):
    return dict(name=name, family=family, preset=preset, de=de, en=en, colour=colour,
                controller=controller, ethernet=ethernet, table100=table100)


COUPLERS = [
    coupler("QZ2000-0000", "QZ2000", "A", "Buskoppler mit IIO-Interrupts", "Bus coupler with IIO interrupts", "#4a6fa5"),
    coupler("QZ2010-0000", "QZ2000", "A", "Buskoppler mit IIO-Interrupts, kompakt", "Bus coupler with IIO interrupts, compact", "#4a6fa5"),
    coupler("QZ3000-0000", "QZ3000", "B", "DP/FMS-Buskoppler, 1,5 MBaud", "DP/FMS bus coupler, 1.5 MBaud", "#7a5aa0", table100=dp_table100(0)),
    coupler("QZ3010-0000", "QZ3000", "B", "DP/FMS-Buskoppler Economy, 1,5 MBaud", "DP/FMS bus coupler economy, 1.5 MBaud", "#7a5aa0", table100=dp_table100(0)),
    coupler("QZ3100-0000", "QZ3000", "B", "DP/FMS-Buskoppler, 12 MBaud, Betriebsart wählbar", "DP/FMS bus coupler, 12 MBaud, selectable operation mode", "#7a5aa0", table100=dp_table100(0)),
    coupler("QZ3110-0000", "QZ3000", "B", "DP/FMS-Buskoppler Economy, 12 MBaud, Betriebsart wählbar", "DP/FMS bus coupler economy, 12 MBaud, selectable operation mode", "#7a5aa0", table100=dp_table100(0)),
    coupler("QZ3120-0000", None, "other", "DP-Buskoppler, 12 MBaud, Sonderausführung", "DP bus coupler, 12 MBaud, special version", "#7a5aa0", table100=dp_table100(1)),
    coupler("QZ3500-0000", "QZ3000", "other", "DP-Buskoppler mit Lichtwellenleiter-Anschluss", "DP bus coupler with fibre-optic connection", "#7a5aa0", table100=dp_table100(1)),
    coupler("QY3100-0000", "QZ3000", "other", "DP-Controller-Koppler mit SPS", "DP controller-coupler with PLC", "#5b3f80", controller=True, table100=dp_table100(1)),
    coupler("QL3100-0000", "QZ3000", "other", "DP-Buskoppler, Low Cost", "DP bus coupler, low cost", "#8d78b5", table100=dp_table100(1)),
    coupler("QL3110-0000", None, "other", "DP-Buskoppler, Low Cost, kompakt", "DP bus coupler, low cost, compact", "#8d78b5", table100=dp_table100(1)),
    coupler("QL3120-0002", None, "other", "DP-Buskoppler, Low Cost, Variante 2", "DP bus coupler, low cost, variant 2", "#8d78b5", table100=dp_table100(1)),
    coupler("QZ4000-0000", "QZ4000", "C", "Buskoppler mit Synchronmodus", "Bus coupler with synchronous mode", "#3c8c7c"),
    coupler("QZ4010-0000", "QZ4000", "C", "Buskoppler mit Synchronmodus, kompakt", "Bus coupler with synchronous mode, compact", "#3c8c7c"),
    coupler("QZ5000-0000", "QZ5000", "D", "CAN-Buskoppler", "CAN bus coupler", "#b0603a"),
    coupler("QZ5100-0000", "QZ5100", "other", "CAN-Buskoppler, Baudrate per DIP-Schalter", "CAN bus coupler, baud rate by DIP switch", "#b0603a"),
    coupler("QZ5110-0000", "QZ5110", "other", "CAN-Buskoppler, Baudrate per DIP-Schalter, Variante B", "CAN bus coupler, baud rate by DIP switch, variant B", "#b0603a"),
    coupler("QZ5120-0000", "QZ5110", "other", "CAN-Buskoppler, Baudrate per DIP-Schalter, Variante C", "CAN bus coupler, baud rate by DIP switch, variant C", "#b0603a"),
    coupler("QL5100-0000", "QZ5110", "other", "CAN-Buskoppler, Low Cost", "CAN bus coupler, low cost", "#c88a66"),
    coupler("QZ5200-0000", "QZ5200", "other", "Buskoppler mit Verbindungs-Datensätzen (Poll/COS/Cyclic)", "Bus coupler with connection data sets (poll/COS/cyclic)", "#6a8a3a"),
    coupler("QZ5210-0000", "QZ5200", "other", "Buskoppler mit Verbindungs-Datensätzen, kompakt", "Bus coupler with connection data sets, compact", "#6a8a3a"),
    coupler("QL5200-0000", "QZ5200", "other", "Buskoppler mit Verbindungs-Datensätzen, Low Cost", "Bus coupler with connection data sets, low cost", "#8fa866"),
    coupler("QZ7300-0000", "QZ7300", "other", "Serieller Feldbuskoppler (RTU/ASCII)", "Serial fieldbus coupler (RTU/ASCII)", "#a08a2a"),
    coupler("QY7300-0000", "QZ7300", "other", "Serieller Controller-Koppler mit SPS (RTU/ASCII)", "Serial controller-coupler with PLC (RTU/ASCII)", "#7d6a1c", controller=True),
    coupler("QZ8000-0000", "QZ8000", "C", "Buskoppler mit Watchdog- und Verzögerungszeiten", "Bus coupler with watchdog and delay times", "#2f7fa0"),
    coupler("QZ8010-0000", "QZ8000", "other", "Buskoppler mit Watchdog- und Verzögerungszeiten, kompakt", "Bus coupler with watchdog and delay times, compact", "#2f7fa0"),
    coupler("QZ8100-0000", "QZ8000", "other", "Buskoppler mit Watchdog- und Verzögerungszeiten, Variante B", "Bus coupler with watchdog and delay times, variant B", "#2f7fa0"),
    coupler("QZ8110-0000", "QZ8000", "other", "Buskoppler mit Watchdog- und Verzögerungszeiten, Variante C", "Bus coupler with watchdog and delay times, variant C", "#2f7fa0"),
    coupler("QY9000-0000", "QY9000", "other", "Ethernet-Controller-Koppler mit SPS", "Ethernet controller-coupler with PLC", "#1f5f7a", controller=True, ethernet="QY9000"),
    coupler("QZ9000-0000", "QY9000", "other", "Ethernet-Buskoppler", "Ethernet bus coupler", "#2f7f9a", ethernet="QZ9000"),
    coupler("QP2008-B310", None, "other", "DP-Feldbusbox, 8 digitale Ein-/Ausgänge", "DP fieldbus box, 8 digital inputs/outputs", "#6a4a8a", table100=dp_table100(1)),
    coupler("QI2301-B310", None, "other", "DP-Feldbusbox mit Klemmenbus-Erweiterung", "DP fieldbus box with terminal-bus extension", "#6a4a8a", table100=dp_table100(1)),
]

COUPLER_PIC_SIZE = 4  # any figure but 3 gives the wide coupler cell of the rail view
COUPLER_CURRENT = 1750  # terminal-bus supply in mA
BOX_CURRENT = 500


def coupler_directory(c, table100_len):
    d = {0: 255, 8: 64, 9: 64, 99: 3, 100: table100_len, 127: 130}
    for t in list(range(10, 24)) + list(range(50, 64)) + list(range(110, 118)):
        d[t] = 255
    if c["controller"]:
        d[1] = 15
        d[98] = 3
    if c["ethernet"]:
        d[121] = 15
    return d


def coupler_identification(name):
    prefix = name[:2]
    kind, variant = KIND[prefix]
    values = {246: kind, 247: variant, 248: IDENT_MARKER, 255: FIRMWARE_VERSION}
    if prefix in ("QP", "QI"):
        values[201] = int(name[2:6])
        values[202] = int(name[8:11])
    else:
        values[250] = int(name[7:11])
    return values


def write_coupler(c):
    name = c["name"]
    if c["table100"]:
        t100_len, t100_values, t100_texts = c["table100"]
    elif c["ethernet"]:
        t100_len, t100_values, t100_texts = 31, ethernet_table100(c["ethernet"]), ETHERNET_TEXTS
    else:
        t100_len, t100_values, t100_texts = FAMILY_TABLE100[c["family"]]
    box = name[:2] in ("QP", "QI")
    sections = [common_section(name, c["de"], c["en"], name + ".png", COUPLER_PIC_SIZE,
                               BOX_CURRENT if box else COUPLER_CURRENT)]
    directory = coupler_directory(c, t100_len)
    sections += register_sections(127, directory, None)

    general = {1: 0, 2: 0x0003, 7: 0, 8: 0, 9: 0, 10: 0, 11: 0}
    images = IMAGE_PRESETS[c["preset"]]
    for i in range(4):
        general[3 + i] = images[i] if i < len(images) else 0
    general.update(coupler_identification(name))
    texts = dict(GENERAL_TEXTS)
    if box:
        texts.update(BOX_IDENT_TEXTS)
        del texts[250]
    if c["ethernet"]:
        general.update({33: 0xA8C0, 34: 0x1401, 35: 0x0101})  # YXM net id 192.168.1.20.1.1
        texts.update({33: ("YXM-Net-ID Byte 1 und 2", "YXM net id bytes 1 and 2"),
                      34: ("YXM-Net-ID Byte 3 und 4", "YXM net id bytes 3 and 4"),
                      35: ("YXM-Net-ID Byte 5 und 6", "YXM net id bytes 5 and 6")})
    sections += register_sections(0, general, texts)
    if c["controller"]:
        sections += register_sections(1, CONTROLLER_VALUES, CONTROLLER_TEXTS)
        sections += register_sections(98, CYCLE_VALUES, CYCLE_TEXTS)
    sections += register_sections(100, t100_values, t100_texts)
    write_ini(os.path.join(ROOT, "Coupler", name + ".INI"), sections)


def write_unknown_coupler():
    c = dict(controller=False, ethernet=None)
    sections = [common_section("Unknown", "Unbekannter Koppler", "Unknown coupler", "Qzdummy.png",
                               COUPLER_PIC_SIZE, COUPLER_CURRENT)]
    sections += register_sections(127, coupler_directory(c, 15), None)
    general = {1: 0, 2: 0x0003, 3: IMAGE_PRESETS["other"][0], 4: 0, 5: 0, 6: 0, 7: 0, 8: 0, 9: 0, 10: 0, 11: 0}
    sections += register_sections(0, general, {r: GENERAL_TEXTS[r] for r in range(1, 12)})
    sections += register_sections(100, {r: 0 for r in range(16)}, None)
    write_ini(os.path.join(ROOT, "Coupler", "Unknown.INI"), sections)


# ---------------------------------------------------------------------------
# Terminals
# ---------------------------------------------------------------------------

CHANNEL_TEXTS = {
    10: ("Physikalische Kanäle: Anzahl / Bits", "Physical channels: number / bits"),
    11: ("Logische Kanäle: Anzahl / Bits", "Logical channels: number / bits"),
    12: ("Ein-/Ausgangsbreite eines Kanals", "Input/output size of a channel"),
}
MODEL_TEXTS = {
    29: ("Namenserweiterung", "Name extension"),
    31: ("Codewort-Register", "Code word register"),
}
SCALED_TEXTS = {
    32: ("Merkmalsregister", "Feature register"),
    33: ("Anwender-Offset", "User offset"),
    34: ("Anwender-Skalierung (256 = 1,0)", "User scaling (256 = 1.0)"),
}
UNIT_SCALE = 0x0100


def layout(channels, phys_bits, log_bits, in_bits, out_bits, csb):
    """Registers 10-12 of a terminal description."""
    flag = 0x80 if csb else 0
    reg12 = ((in_bits | (flag if in_bits else 0)) & 0xFF) | (((out_bits | (flag if out_bits else 0)) & 0xFF) << 8)
    return {10: (channels << 8) | phys_bits, 11: (channels << 8) | log_bits, 12: reg12}


def digital(channels, inputs, outputs):
    return layout(channels, 1, 1, 1 if inputs else 0, 1 if outputs else 0, False)


def complex_layout(channels, data_bits, bytes_per_channel):
    bits = 8 * bytes_per_channel
    return layout(channels, data_bits, bits, bits, bits, True)


def terminal(name, de, en, colour, regs, user=None, texts=None, current=-5, pic_size=2, picture=None):
    """picture: another terminal's picture file, instead of one of its own."""
    return dict(name=name, de=de, en=en, colour=colour, regs=regs, user=user or {}, texts=texts or {},
                current=current, pic_size=pic_size, picture=picture)


DI, DO, RELAY, DIO = "#e8c547", "#d9534f", "#e07b39", "#c9a227"
AI, AO, RTD, TC = "#5cb85c", "#428bca", "#3f9f8f", "#8a6d3b"
CNT, ENC, SER, PWM = "#9b59b6", "#8e44ad", "#5d6d7e", "#b05f9f"
SYS = "#9e9e9e"

ANALOG_IN_USER = {32: 0x0002, 33: 0, 34: UNIT_SCALE, 35: 0, 36: 0}
ANALOG_IN_TEXTS = {**SCALED_TEXTS, 35: ("Grenzwert 1", "Limit 1"), 36: ("Grenzwert 2", "Limit 2")}
ANALOG_OUT_USER = {32: 0x0002, 33: 0, 34: UNIT_SCALE}


def analog_in(name, channels, de, en):
    return terminal(name, de, en, AI, complex_layout(channels, 16, 3), ANALOG_IN_USER, ANALOG_IN_TEXTS, -65)


def analog_out(name, channels, de, en):
    return terminal(name, de, en, AO, complex_layout(channels, 16, 3), ANALOG_OUT_USER, SCALED_TEXTS, -70)


SERIAL_USER = {32: 6, 33: 3, 34: 0, 35: 3}  # 9600 Baud, 8 data bits without parity, 3 data bytes
SERIAL_TEXTS = {
    32: ("Baudrate-Code (6 = 9600 Baud)", "Baud rate code (6 = 9600 Baud)"),
    33: ("Datenformat und Stoppbits", "Data format and stop bits"),
    34: ("Merkmalsregister", "Feature register"),
    35: ("Datenbytes im Prozessabbild (1-5)", "Data bytes in the process image (1-5)"),
}

TERMINALS = [
    # digital inputs and outputs (no register model)
    terminal("QT1002-0000", "2 Digitaleingänge 24 V DC", "2 digital inputs 24 V DC", DI, digital(2, True, False)),
    terminal("QT1012-0000", "2 Digitaleingänge 24 V DC, Filter 0,2 ms", "2 digital inputs 24 V DC, filter 0.2 ms", DI, digital(2, True, False)),
    terminal("QT1104-0000", "4 Digitaleingänge 24 V DC", "4 digital inputs 24 V DC", DI, digital(4, True, False)),
    terminal("QT1212-0000", "2 Digitaleingänge mit Diagnose", "2 digital inputs with diagnostics", DI, layout(2, 2, 2, 2, 2, False)),
    terminal("QT2002-0000", "2 Digitalausgänge 24 V DC, 0,5 A", "2 digital outputs 24 V DC, 0.5 A", DO, digital(2, False, True)),
    terminal("QT2012-0000", "2 Digitalausgänge 24 V DC, 2 A", "2 digital outputs 24 V DC, 2 A", DO, digital(2, False, True)),
    terminal("QT2032-0000", "2 Digitalausgänge 24 V DC, 0,5 A, masseschaltend", "2 digital outputs 24 V DC, 0.5 A, sinking", DO, digital(2, False, True)),
    terminal("QT2114-0000", "4 Digitalausgänge 24 V DC, 0,5 A", "4 digital outputs 24 V DC, 0.5 A", DO, digital(4, False, True)),
    terminal("QT2124-0000", "4 Digitalausgänge 24 V DC, 0,5 A, masseschaltend", "4 digital outputs 24 V DC, 0.5 A, sinking", DO, digital(4, False, True)),
    terminal("QT2134-0000", "4 Digitalausgänge 5 V DC", "4 digital outputs 5 V DC", DO, digital(4, False, True)),
    terminal("QT2184-0000", "4 Digitalausgänge 24 V DC, 2 A", "4 digital outputs 24 V DC, 2 A", DO, digital(4, False, True)),
    terminal("QT2212-0000", "2 Digitalausgänge mit Diagnose", "2 digital outputs with diagnostics", DO, layout(2, 2, 2, 2, 2, False)),
    terminal("QT2602-0000", "2 Relaisausgänge 230 V AC, Schließer", "2 relay outputs 230 V AC, make contact", RELAY, digital(2, False, True), current=-20),
    terminal("QT2612-0000", "2 Relaisausgänge 230 V AC, Wechsler", "2 relay outputs 230 V AC, change-over", RELAY, digital(2, False, True), current=-20),
    terminal("QT2622-0000", "2 Relaisausgänge 230 V AC, potentialfrei", "2 relay outputs 230 V AC, isolated", RELAY, digital(2, False, True), current=-20),
    terminal("QT2631-0000", "1 Leistungsrelais 230 V AC, 16 A", "1 power relay 230 V AC, 16 A", RELAY, digital(1, False, True), current=-25),
    terminal("QT2702-0000", "2 Halbleiterrelais 230 V AC", "2 solid-state relays 230 V AC", RELAY, digital(2, False, True), current=-15),
    # the box module's own channels, named by the online scan from its terminal list word
    terminal("QP2008-Bxx0", "8 digitale Ein-/Ausgänge der Feldbusbox", "8 digital inputs/outputs of the fieldbus box", DIO, digital(8, True, True), current=0),
    # the terminal a new rail of a box module starts with: the module's own channels, under
    # the module's type name
    terminal("QP2008-B310", "8 digitale Ein-/Ausgänge der Feldbusbox", "8 digital inputs/outputs of the fieldbus box", DIO, digital(8, True, True), current=0, picture="QP2008-Bxx0.png"),
    terminal("QI2301-B310", "4 digitale Ein-/Ausgänge der Feldbusbox", "4 digital inputs/outputs of the fieldbus box", DIO, digital(4, True, True), current=0, picture="QP2008-Bxx0.png"),
    # analog inputs
    analog_in("QT3002-0000", 2, "2 Analogeingänge 0-10 V", "2 analog inputs 0-10 V"),
    analog_in("QT3004-0000", 4, "4 Analogeingänge 0-10 V", "4 analog inputs 0-10 V"),
    analog_in("QT3012-0000", 2, "2 Analogeingänge 0-20 mA", "2 analog inputs 0-20 mA"),
    analog_in("QT3014-0000", 4, "4 Analogeingänge 0-20 mA", "4 analog inputs 0-20 mA"),
    analog_in("QT3022-0000", 2, "2 Analogeingänge 4-20 mA", "2 analog inputs 4-20 mA"),
    analog_in("QT3024-0000", 4, "4 Analogeingänge 4-20 mA", "4 analog inputs 4-20 mA"),
    analog_in("QT3042-0000", 2, "2 Analogeingänge 0-20 mA, massebezogen", "2 analog inputs 0-20 mA, single-ended"),
    analog_in("QT3052-0000", 2, "2 Analogeingänge 4-20 mA, Zweileiter", "2 analog inputs 4-20 mA, two-wire"),
    analog_in("QT3062-0000", 2, "2 Analogeingänge -10/+10 V", "2 analog inputs -10/+10 V"),
    analog_in("QT3064-0000", 4, "4 Analogeingänge -10/+10 V", "4 analog inputs -10/+10 V"),
    analog_in("QT3102-0000", 2, "2 Analogeingänge -10/+10 V, Differenz", "2 analog inputs -10/+10 V, differential"),
    terminal("QT3202-0000", "2 Widerstandsthermometer PT100", "2 resistance thermometers PT100", RTD,
             complex_layout(2, 16, 3), {32: 0x0002, 33: 0, 34: UNIT_SCALE}, SCALED_TEXTS, -60),
    terminal("QT3351-0000", "1 Widerstandsmessung 10-1200 Ohm", "1 resistance measurement 10-1200 Ohm", RTD,
             complex_layout(1, 16, 3), {32: 0xF002, 33: 0, 34: UNIT_SCALE}, SCALED_TEXTS, -60),
    terminal("QT3302-0000", "2 Thermoelemente, Typ K", "2 thermocouples, type K", TC,
             complex_layout(2, 16, 3), {32: 0x1002, 33: 0, 34: UNIT_SCALE}, SCALED_TEXTS, -60),
    terminal("QT3312-0000", "2 Thermoelemente, Typ J", "2 thermocouples, type J", TC,
             complex_layout(2, 16, 3), {32: 0x2002, 33: 0, 34: UNIT_SCALE}, SCALED_TEXTS, -60),
    terminal("QT3332-0000", "2 Thermoelemente, Ausgabe in Mikrovolt", "2 thermocouples, output in microvolts", TC,
             complex_layout(2, 16, 3), {32: 0xF002, 33: 0, 34: UNIT_SCALE}, SCALED_TEXTS, -60),
    # analog outputs
    analog_out("QT4002-0000", 2, "2 Analogausgänge 0-10 V", "2 analog outputs 0-10 V"),
    analog_out("QT4004-0000", 4, "4 Analogausgänge 0-10 V", "4 analog outputs 0-10 V"),
    analog_out("QT4012-0000", 2, "2 Analogausgänge 0-20 mA", "2 analog outputs 0-20 mA"),
    analog_out("QT4014-0000", 4, "4 Analogausgänge 0-20 mA", "4 analog outputs 0-20 mA"),
    analog_out("QT4022-0000", 2, "2 Analogausgänge 4-20 mA", "2 analog outputs 4-20 mA"),
    analog_out("QT4032-0000", 2, "2 Analogausgänge -10/+10 V", "2 analog outputs -10/+10 V"),
    analog_out("QT4034-0000", 4, "4 Analogausgänge -10/+10 V", "4 analog outputs -10/+10 V"),
    # counter, pulse width, encoders, serial interfaces
    terminal("QT1501-0000", "1 Zähler 32 Bit, 100 kHz", "1 counter 32 bit, 100 kHz", CNT,
             complex_layout(1, 32, 6), {32: 0x0100}, {32: ("Zählermodus und Ausgabeformat", "Counter mode and output format")},
             -70),
    terminal("QT2502-0000", "2 Pulsweitenausgänge 24 V DC", "2 pulse-width outputs 24 V DC", PWM,
             complex_layout(2, 16, 3), {32: 0x0000, 33: 0, 34: UNIT_SCALE, 35: 1000, 36: 500, 37: 100},
             {**SCALED_TEXTS, 32: ("Merkmal und Betriebsart", "Feature and operating mode"),
              35: ("Periodendauer PWM-Modus", "Period for PWM mode"), 36: ("Duty Cycle", "Duty cycle"),
              37: ("Impulsdauer", "Pulse duration")}, -60),
    terminal("QT5001-0000", "1 Absolutwertgeber-Schnittstelle (synchron seriell)", "1 absolute encoder interface (synchronous serial)", ENC,
             complex_layout(1, 32, 6), {32: 0x0001, 33: 3, 34: 24},
             {32: ("Merkmalsregister", "Feature register"), 33: ("Übertragungsrate (3 = 125 kHz)", "Transfer rate (3 = 125 kHz)"),
              34: ("Datenlänge (0-32)", "Data length (0-32)")}, -85),
    terminal("QT5101-0000", "1 Inkrementalgeber-Schnittstelle 5 V", "1 incremental encoder interface 5 V", ENC,
             complex_layout(1, 32, 6), {32: 0x0000}, {32: ("Auswertung und Zählermodus", "Evaluation and counter mode")},
             -85),
    terminal("QT5111-0000", "1 Inkrementalgeber-Schnittstelle 24 V", "1 incremental encoder interface 24 V", ENC,
             complex_layout(1, 32, 6), {32: 0x0000}, {32: ("Auswertung und Zählermodus", "Evaluation and counter mode")},
             -85),
    terminal("QT6001-0000", "1 serielle Schnittstelle RS232", "1 serial interface RS232", SER,
             complex_layout(1, 40, 6), SERIAL_USER, SERIAL_TEXTS, -75),
    terminal("QT6011-0000", "1 serielle Schnittstelle 20 mA Stromschleife", "1 serial interface 20 mA current loop", SER,
             complex_layout(1, 40, 6), SERIAL_USER, SERIAL_TEXTS, -75),
    terminal("QT6021-0000", "1 serielle Schnittstelle RS422/RS485", "1 serial interface RS422/RS485", SER,
             complex_layout(1, 40, 6), SERIAL_USER, SERIAL_TEXTS, -75),
    terminal("QT6051-0000", "1 serielle Datenübertragung mit Zeitüberwachung", "1 serial data transfer with time-outs", SER,
             complex_layout(1, 40, 6), {32: 0x0000, 33: 9600, 34: 100, 35: 100},
             {32: ("Merkmalsregister", "Feature register"), 33: ("Baudrate", "Baud rate"),
              34: ("RCV Timeout", "RCV timeout"), 35: ("TRS Timeout", "TRS timeout")}, -75),
    # system terminals
    terminal("QT9010-0000", "Endklemme", "End terminal", SYS, layout(0, 0, 0, 0, 0, False), current=0, pic_size=1),
    terminal("QT9400-0000", "Einspeiseklemme Klemmenbus 2 A", "Terminal-bus power feed 2 A", SYS, layout(0, 0, 0, 0, 0, False),
             current=2000),
]


def write_terminal(t, name=None, picture=None):
    name = name or t["name"]
    picture = picture or t["picture"] or name + ".png"
    sections = [common_section(name, t["de"], t["en"], picture, t["pic_size"], t["current"])]
    values = dict(t["regs"])
    texts = dict(CHANNEL_TEXTS)
    reg12 = values[12]
    if (reg12 & 0x7F) > 8 or ((reg12 >> 8) & 0x7F) > 8:
        values.update({29: 0, 31: 0})
        for r in range(32, 64):
            values[r] = 0
        values.update(t["user"])
        texts.update(MODEL_TEXTS)
        texts.update(t["texts"])
    sections += register_sections(0, values, texts)
    write_ini(os.path.join(ROOT, "Terminal", name + ".INI"), sections)


def write_unknown_terminal():
    # One logical channel with a register model: the online scan borrows its channel table 0
    # to read the name extensions of the terminals it finds.
    t = terminal("Unknown", "Unbekannte Klemme", "Unknown terminal", SYS, complex_layout(1, 16, 3), {}, {}, 0)
    write_terminal(t, "Unknown", "QTdummy.png")


# ---------------------------------------------------------------------------
# Pictures
# ---------------------------------------------------------------------------

CONVERT = shutil.which("convert", path="/usr/bin") or shutil.which("convert")
FONT = "DejaVu-Sans-Bold"
TERMINAL_HEIGHT = 240


def run_convert(args, out):
    subprocess.run([CONVERT] + args + ["-strip", "-depth", "8", "-define", "png:exclude-chunks=date,time", out], check=True)


def text_colour(colour):
    r, g, b = (int(colour[i:i + 2], 16) for i in (1, 3, 5))
    return "#222222" if 0.299 * r + 0.587 * g + 0.114 * b > 160 else "#ffffff"


def terminal_picture(path, colour, title, suffix, width):
    h = TERMINAL_HEIGHT
    draw = [
        "-size", "%dx%d" % (width, h), "xc:#f4f4f2",
        "-fill", "#d7d7d3", "-stroke", "#6b6b6b", "-strokewidth", "1",
        "-draw", "rectangle 1,1 %d,%d" % (width - 2, h - 2),
        "-fill", colour, "-draw", "rectangle 4,8 %d,56" % (width - 5),
        "-fill", "#ffffff", "-draw", "rectangle 4,%d %d,%d" % (h - 70, width - 5, h - 30),
    ]
    # two rows of wire clamps
    for row in range(3):
        y = 76 + row * 30
        for cx in ((width // 3, 2 * width // 3) if width > 40 else (width // 2,)):
            draw += ["-fill", "#bdbdb8", "-draw", "circle %d,%d %d,%d" % (cx, y, cx + 5, y)]
            draw += ["-fill", "#4d4d4d", "-draw", "rectangle %d,%d %d,%d" % (cx - 1, y - 4, cx + 1, y + 4)]
    draw += ["-stroke", "none"]
    if width > 40:
        draw += ["-fill", text_colour(colour), "-font", FONT, "-pointsize", "10", "-gravity", "north",
                 "-annotate", "+0+16", title, "-annotate", "+0+32", suffix]
        draw += ["-fill", "#333333", "-gravity", "south", "-pointsize", "9",
                 "-annotate", "+0+46", title[:2], "-annotate", "+0+34", title[2:]]
    run_convert(draw, path)


def coupler_picture(path, colour, title, suffix):
    w, h = 120, TERMINAL_HEIGHT
    draw = [
        "-size", "%dx%d" % (w, h), "xc:#f4f4f2",
        "-fill", "#c9ccd1", "-stroke", "#55595e", "-strokewidth", "1",
        "-draw", "rectangle 1,1 %d,%d" % (w - 2, h - 2),
        "-fill", colour, "-draw", "rectangle 6,8 %d,60" % (w - 7),
        "-fill", "#2f3338", "-draw", "roundrectangle 24,80 %d,120 4,4" % (w - 25),
        "-fill", "#ffffff", "-draw", "rectangle 8,%d %d,%d" % (h - 60, w - 9, h - 20),
    ]
    for i, led in enumerate(("#3cb44b", "#ffd21f", "#e6194b", "#3cb44b")):
        draw += ["-fill", led, "-draw", "circle %d,140 %d,140" % (22 + i * 25, 27 + i * 25)]
    for i in range(5):  # pins of the fieldbus connector
        draw += ["-fill", "#d0d0d0", "-stroke", "none", "-draw", "circle %d,100 %d,100" % (36 + i * 12, 38 + i * 12)]
    draw += ["-stroke", "none", "-fill", "#ffffff", "-font", FONT, "-pointsize", "14", "-gravity", "north",
             "-annotate", "+0+16", title, "-pointsize", "11", "-annotate", "+0+36", suffix,
             "-fill", "#333333", "-pointsize", "12", "-gravity", "south", "-annotate", "+0+32", title]
    run_convert(draw, path)


def splash_picture(path, accent, accent2):
    w, h = 480, 300
    draw = ["-size", "%dx%d" % (w, h), "gradient:%s-%s" % (accent, accent2),
            "-fill", "#ffffff", "-font", FONT, "-pointsize", "54", "-gravity", "northwest",
            "-annotate", "+36+40", "Varnak",
            "-font", "DejaVu-Sans", "-pointsize", "16", "-annotate", "+40+110",
            "Fieldbus stations offline and online"]
    # a stylised rail: one coupler and a row of terminals
    x = 40
    draw += ["-stroke", "#20262b", "-strokewidth", "1", "-fill", "#dfe3e6",
             "-draw", "rectangle %d,170 %d,268" % (x, x + 58)]
    x += 62
    for colour in (DI, DI, DO, AI, AO, CNT, SER, DO, AI, SYS):
        draw += ["-fill", "#eceae4", "-draw", "rectangle %d,178 %d,268" % (x, x + 24),
                 "-fill", colour, "-draw", "rectangle %d,182 %d,196" % (x + 3, x + 21)]
        x += 28
    draw += ["-stroke", "#20262b", "-strokewidth", "3", "-draw", "line 30,272 %d,272" % (x + 10)]
    run_convert(draw, path)


def logo_picture(path, accent):
    draw = ["-size", "96x96", "xc:none", "-fill", accent, "-stroke", "none",
            "-draw", "roundrectangle 2,2 93,93 14,14", "-fill", "#ffffff"]
    # a "V" built from terminal bars of falling and rising height
    for i, top in enumerate((18, 34, 50, 66, 50, 34, 18)):
        x = 14 + i * 10
        draw += ["-draw", "rectangle %d,%d %d,%d" % (x, top, x + 6, min(top + 16, 80))]
    run_convert(draw, path)


def search_animation(path):
    frames = []
    tmp = os.path.join(os.path.dirname(path), ".anim")
    os.makedirs(tmp, exist_ok=True)
    for i in range(8):
        frame = os.path.join(tmp, "f%d.png" % i)
        draw = ["-size", "96x48", "xc:#ffffff", "-stroke", "#555555", "-strokewidth", "1"]
        for k, colour in enumerate((DI, DO, AI, AO, CNT, SER, SYS)):
            draw += ["-fill", colour, "-draw", "rectangle %d,10 %d,40" % (6 + k * 12, 14 + k * 12)]
        cx = 10 + i * 10
        draw += ["-fill", "none", "-stroke", "#20262b", "-strokewidth", "3",
                 "-draw", "circle %d,22 %d,22" % (cx, cx + 7), "-draw", "line %d,28 %d,36" % (cx + 6, cx + 13)]
        subprocess.run([CONVERT] + draw + [frame], check=True)
        frames.append(frame)
    subprocess.run([CONVERT, "-delay", "12", "-loop", "0"] + frames + [path], check=True)
    shutil.rmtree(tmp)


def write_pictures():
    graph = os.path.join(ROOT, "Graph")
    os.makedirs(graph, exist_ok=True)
    for t in TERMINALS:
        if t["picture"]:
            continue
        width = 32 if t["pic_size"] == 1 else 64
        name = t["name"]
        terminal_picture(os.path.join(graph, name + ".png"), t["colour"], name[:6], name[7:], width)
    terminal_picture(os.path.join(graph, "QTdummy.png"), "#bbbbbb", "?", "", 64)
    for c in COUPLERS:
        coupler_picture(os.path.join(graph, c["name"] + ".png"), c["colour"], c["name"][:6], c["name"][7:])
    coupler_picture(os.path.join(graph, "Qzdummy.png"), "#8a8f96", "?", "")
    splash_picture(os.path.join(graph, "HWelcome.png"), "#1f4e79", "#4f8fc0")
    splash_picture(os.path.join(graph, "PWelcome.png"), "#3d5a2a", "#7fa35a")
    logo_picture(os.path.join(graph, "hlogo.png"), "#1f4e79")
    logo_picture(os.path.join(graph, "plogo.png"), "#3d5a2a")
    search_animation(os.path.join(graph, "Findfile.gif"))


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--no-pictures", action="store_true")
    args = parser.parse_args()
    for folder in ("Coupler", "Terminal"):
        os.makedirs(os.path.join(ROOT, folder), exist_ok=True)
    for c in COUPLERS:
        write_coupler(c)
    write_unknown_coupler()
    for t in TERMINALS:
        write_terminal(t)
    write_unknown_terminal()
    if not args.no_pictures:
        if not CONVERT:
            sys.exit("ImageMagick's convert is needed for the pictures (apt-get install imagemagick)")
        write_pictures()


if __name__ == "__main__":
    main()
