#!/usr/bin/env python3
"""Writes the AUTORUN.INF cases of the check tests: one directory per kind of
finding, each with the file and expected.txt.

expected.txt lists, one a line, "LINE SEVERITY TEXT": a finding at that line
of that severity whose message contains TEXT. Every error and warning that
check reports must be listed; notes need not be.
"""
import os
import shutil

HERE = os.path.dirname(os.path.abspath(__file__))
PICTURE = os.path.join(HERE, "..", "pictures", "pal1.bmp")

FORM = """[Installation Form Size Setup]
Form Height=480
Form Width=640
"""

BACKGROUND = """[BackGround Image File Setup]
BackGround Image Use=YES
BackGround Image Path=NOW
BackGround Image Name=BACK.BMP
BackGround Image Height=453
BackGround Image Width=632
BackGround Image Top=0
BackGround Image Left=0
"""


def appearance(prefix, colour="clWhite", size="12"):
    return "".join(
        f"{prefix} {suffix}={value}\n"
        for suffix, value in [
            ("Name", "Arial"),
            ("Color", colour),
            ("Style Bold Use", "NO"),
            ("Style Italic Use", "NO"),
            ("Style Underline Use", "NO"),
            ("Size", size),
        ]
    )


def title(use="YES", caption="Example", top="16", colour="clWhite"):
    text = f"[Title Message Label Setup]\nTitle Message Label Use={use}\n"
    if caption is not None:
        text += f"Title Message Label Caption={caption}\n"
    text += f"Title Message Label Top={top}\nTitle Message Label Left=16\n"
    return text + appearance("Title Message Label Font", colour)


def entry(n, top, target="BACK.BMP", second=True, second_size="12", left="32", linux=None):
    p = f"Installation Message Label {n}"
    text = f"[{p} Font Setup]\n{p} Caption=Entry {n}\n{p} Font Top={top}\n{p} Font Left={left}\n"
    text += appearance(f"{p} First Font")
    if second:
        text += appearance(f"{p} Second Font", "clYellow", second_size)
    if target is not None:
        text += f"{p} File Path={target}\n"
    if linux is not None:
        text += f"{p} Linux File Path={linux}\n"
    return text


def entries(count, *blocks):
    return (
        f"[Installation Message Label Count Setup]\nInstallation Message Label Count={count}\n"
        + "".join(blocks)
    )


CASES = {
    "clean": (FORM + BACKGROUND + title() + entries(2, entry(1, 100), entry(2, 140)), []),
    "unknown_section": (FORM + "[Logo Setpu]\nLogo Use=NO\n", ["4 warning did you mean [Logo Setup]?"]),
    "unknown_key": (
        "[Installation Form Size Setup]\nForm Heigth=480\nForm Width=640\n",
        ['1 warning no "Form Height"', '2 warning did you mean "Form Height"?'],
    ),
    "key_in_wrong_section": (
        FORM.replace("Form Width=640\n", "Form Width=640\nLogo Use=NO\n"),
        ["4 warning it belongs in [Logo Setup]"],
    ),
    "key_before_any_section": ("Form Height=480\n" + FORM, ["1 warning stands before any section"]),
    "comment_lines": ("; a comment\n# another\n" + FORM.replace("\n", "\n; inside\n", 1), []),
    "repeated_section": (FORM + FORM.replace("480", "500"), ["4 warning only the first one, at line 1, is read"]),
    "empty_section_name": (FORM + "[]\nForm Height=500\n", ["4 warning section [] has an empty name"]),
    "repeated_key": (FORM.replace("Form Width=640\n", "Form Width=640\nform height=500\n"),
                     ["4 warning only line 2 is read"]),
    "key_without_equals": (FORM.replace("Form Width=640", "Form Width"),
                           ['1 warning no "Form Width"', '3 warning has no "="']),
    "switch_almost_yes": (FORM + title(use="Yes"), ['5 warning is "Yes", which is off']),
    "colour_almost": (FORM + title(colour="clred"), ['10 warning did you mean "clRed"?']),
    "colour_unknown": (FORM + title(colour="#FF0000"), ['10 warning names are case-sensitive']),
    "now_in_lower_case": (
        FORM + "[Logo Setup]\nLogo Use=YES\nLogo Path=Now\nLogo Name=LOGO.ICO\n",
        ['6 warning only "NOW" in capitals', "7 error Cannot open file Now/LOGO.ICO"],
    ),
    "integer_not_a_number": (FORM.replace("Form Height=480", "Form Height=480px"),
                             ["2 error the menu stops at start-up with \"'480px' is not a valid integer value.\""]),
    "integer_behind_closed_gate": (FORM + title(use="NO", top="top"), []),
    "second_font_size_not_a_number": (
        FORM + BACKGROUND + entries(1, entry(1, 100, second_size="big")),
        ["29 error every mouse move over entry 1 fails with \"'big' is not a valid integer value.\""],
    ),
    "picture_missing": (
        FORM + BACKGROUND.replace("BACK.BMP", "MISSING.BMP"),
        ["7 error Cannot open file"],
    ),
    "picture_cannot_be_drawn": (
        FORM + BACKGROUND.replace("BACK.BMP", "DAMAGED.ICO"),
        ["7 error the menu cannot draw its window"],
    ),
    "picture_unknown_extension": (
        FORM + BACKGROUND.replace("BACK.BMP", "BACK.GIF"),
        ['7 error "Unknown picture file extension (.GIF)": it shows pictures whose names end in .wmf, .emf, .ico, '
         '.bmp, .png, .jpg or .jpeg; save the picture as PNG, for instance with ImageMagick: '
         '"convert picture.GIF picture.png"'],
    ),
    "picture_only_ignoring_case": (
        FORM + BACKGROUND.replace("BACK.BMP", "back.bmp"),
        [],
    ),
    "picture_png": (FORM + BACKGROUND.replace("BACK.BMP", "BACK.PNG"), []),
    "picture_jpeg": (FORM + BACKGROUND.replace("BACK.BMP", "BACK.JPEG"), []),
    "picture_png_damaged": (
        FORM + BACKGROUND.replace("BACK.BMP", "BACK.PNG"),
        ['7 error the menu stops at start-up with "PNG image is not valid."'],
    ),
    "picture_jpeg_damaged": (
        FORM + BACKGROUND.replace("BACK.BMP", "back.jpg"),
        ['7 error the menu stops at start-up with "JPEG image is not valid."'],
    ),
    "caption_missing": (FORM + title(caption=None), ['4 warning without "Title Message Label Caption"']),
    "second_font_missing": (
        FORM + BACKGROUND + entries(1, entry(1, 100, second=False)),
        ['14 warning has no "Installation Message Label 1 Second Font" keys'],
    ),
    "launch_target_missing": (
        FORM + BACKGROUND + entries(1, entry(1, 100, target="SETUP.EXE")),
        ['30 warning launch target "SETUP.EXE" of entry 1 does not exist'],
    ),
    "launch_target_only_ignoring_case": (
        FORM + BACKGROUND + entries(1, entry(1, 100, target="IMAGES\\back.bmp")),
        [],
    ),
    "launch_target_key_missing": (
        FORM + BACKGROUND + entries(1, entry(1, 100, target=None)),
        ['14 warning a click opens "0"'],
    ),
    "keys_behind_closed_gate": (
        FORM + "[Logo Setup]\nLogo Use=NO\nLogo Path=NOW\nLogo Name=LOGO.ICO\n",
        ['6 note 2 keys of [Logo Setup] not read: "Logo Use" is "NO"'],
    ),
    "font_not_installed": (
        FORM + title().replace("Font Name=Arial", "Font Name=No Such Face Anywhere"),
        ['9 note font "No Such Face Anywhere" is not installed here',
         '9 warning font "No Such Face Anywhere" is not one every Windows PC has'],
    ),
    "no_background": (
        FORM + entries(1, entry(1, 100)),
        ["0 warning no background picture is shown"],
    ),
    "label_outside_window": (
        FORM + title(top="470"),
        ["7 warning the title at (16,470)"],
    ),
    # Every start-up error is reported, and what the menu shows once they are
    # fixed: the numbers as their digits read, the picture left out (and its
    # absence no warning of its own).
    "start_up_errors_hide_nothing": (
        FORM.replace("Form Height=480", "Form Height=480px") + BACKGROUND.replace("BACK.BMP", "BACK.GIF")
        + title(top="470") + entries(2, entry(1, 100), entry(2, 104)),
        ["2 error the menu stops at start-up with \"'480px' is not a valid integer value.\"",
         '7 error "Unknown picture file extension (.GIF)"',
         "15 warning the title at (16,470)",
         "44 warning entry 1 and entry 2 overlap"],
    ),
    "entries_overlap": (
        FORM + BACKGROUND + entries(2, entry(1, 100), entry(2, 104)),
        ["33 warning entry 1 and entry 2 overlap"],
    ),
    # Windows' [autorun] section: names match ignoring case, open= may carry
    # arguments, icon= an icon index, shellexecute= a web address.
    "autorun_good": (
        FORM + BACKGROUND + entries(1, entry(1, 100))
        + '[AutoRun]\nOpen="SETUP.EXE" /quiet\nicon=BACK.BMP,-1\nlabel=Example\naction=Install Example\n'
        + "shellexecute=https://example.com/\nUseAutoPlay=1\n",
        [],
    ),
    "autorun_unknown_key": (FORM + "[autorun]\nopne=SETUP.EXE\nLogo Use=NO\nUseAutoPlay=1\n",
                            ['5 warning Windows ignores it; did you mean "open"?', '6 warning it belongs in [Logo Setup]']),
    "autorun_misspelt_section": (FORM + "[autorn]\nopen=SETUP.EXE\n", ["4 warning did you mean [autorun]?"]),
    "autorun_files_missing": (
        FORM + "[autorun]\nopen=TOOLS\\SETUP.EXE -x\nicon=MISSING.ICO,2\nshellexecute=DOCS\\INDEX.HTM\nopen=SETUP.EXE\n",
        ['5 warning file "TOOLS\\SETUP.EXE" named by "open" in [autorun] does not exist',
         '6 warning file "MISSING.ICO" named by "icon"', '7 warning file "DOCS\\INDEX.HTM" named by "shellexecute"',
         "8 warning only line 5 is read"],
    ),
    "autorun_windows_only_target": (
        FORM + BACKGROUND + entries(2, entry(1, 100, target="SETUP.EXE"), entry(2, 140))
        + "[autorun]\nopen=automenu.exe\n",
        ['30 warning launch target "SETUP.EXE" of entry 1 runs only on Windows',
         '49 note "automenu.exe" is not here yet'],
    ),
    # Links: not files of the medium; a scheme no desktop opens by default is
    # worth a word.
    "launch_target_link": (
        FORM + BACKGROUND + entries(3, entry(1, 100, target="https://www.example.com/support"),
                                    entry(2, 140, target="steam://run/10"),
                                    entry(3, 180, target="mailto:help@example.com")),
        ['47 warning launch target "steam://run/10" of entry 2 is a "steam:" link, which no desktop opens'],
    ),
    # The Linux menu's own targets: they must exist (or be links), and an
    # entry that has one draws no warning about its Windows program.
    "linux_target": (
        FORM + BACKGROUND + entries(5, entry(1, 100, target="SETUP.EXE", linux="install.sh"),
                                    entry(2, 140, target="SETUP.EXE", linux="missing.sh"),
                                    entry(3, 180, target="SETUP.EXE", linux="https://www.example.com/linux"),
                                    entry(4, 220, target="README.TXT", linux="OTHER.EXE"),
                                    entry(5, 260, target="SETUP.EXE", linux=""))
        + "[autorun]\nopen=automenu.exe\n",
        ['49 warning Linux target "missing.sh" of entry 2 does not exist',
         '85 warning Linux target "OTHER.EXE" of entry 4 is a Windows program',
         '102 warning launch target "SETUP.EXE" of entry 5 runs only on Windows: the Linux menu of this medium hands '
         'it to the desktop\'s opener; give Linux a target of its own with "Installation Message Label 5 Linux File '
         'Path"',
         '103 note "Installation Message Label 5 Linux File Path" is "": the Linux menu opens the entry\'s File Path',
         '105 note "automenu.exe" is not here yet'],
    ),
}

NEEDS_PICTURE = {"autorun_good", "autorun_windows_only_target", "clean", "no_background", "second_font_size_not_a_number", "second_font_missing", "launch_target_missing",
                 "launch_target_key_missing", "entries_overlap", "picture_only_ignoring_case",
                 "launch_target_only_ignoring_case", "launch_target_link", "linux_target",
                 "start_up_errors_hide_nothing"}

for name, (text, expected) in CASES.items():
    directory = os.path.join(HERE, name)
    shutil.rmtree(directory, ignore_errors=True)
    os.makedirs(directory)
    with open(os.path.join(directory, "AUTORUN.INF"), "w", newline="\r\n") as f:
        f.write(text)
    with open(os.path.join(directory, "expected.txt"), "w") as f:
        f.write("".join(line + "\n" for line in expected))
    if name in NEEDS_PICTURE:
        shutil.copy(PICTURE, os.path.join(directory, "BACK.BMP"))
    # PNG and JPEG backgrounds: sound ones, and ones cut short or with a
    # wrong checksum.
    for case, source, target in (("picture_png", "png_rgba.png", "BACK.PNG"),
                                 ("picture_jpeg", "jpeg_progressive.jpg", "BACK.JPEG"),
                                 ("picture_png_damaged", "png_crc_damaged.png", "BACK.PNG"),
                                 ("picture_jpeg_damaged", "jpeg_cut.jpg", "back.jpg")):
        if name == case:
            shutil.copy(os.path.join(HERE, "..", "pictures", source), os.path.join(directory, target))
    if name == "picture_cannot_be_drawn":
        # A sound header whose image lies outside the file: it loads, and
        # fails when it is first drawn.
        shutil.copy(os.path.join(HERE, "..", "pictures", "entry_offset_outside.ico"),
                    os.path.join(directory, "DAMAGED.ICO"))
    if name in ("autorun_good", "autorun_windows_only_target", "linux_target"):
        with open(os.path.join(directory, "SETUP.EXE"), "wb") as f:
            f.write(b"MZ")
    if name == "linux_target":
        shutil.copy(os.path.join(directory, "SETUP.EXE"), os.path.join(directory, "OTHER.EXE"))
        for file_name, text in (("install.sh", "#!/bin/sh\n"), ("README.TXT", "Read me.\n")):
            with open(os.path.join(directory, file_name), "w") as f:
                f.write(text)
    if name == "launch_target_only_ignoring_case":
        os.makedirs(os.path.join(directory, "images"))
        shutil.copy(PICTURE, os.path.join(directory, "images", "BACK.BMP"))
