#!/usr/bin/env python3
"""Writes the menus of the language tests: one directory per language, each
with the same AUTORUN.INF saved the four ways an author saves it:

  ansi.inf       in the ANSI code page of a Windows PC of that language
  utf8.inf       in UTF-8 without byte-order mark, as Notepad saves it
  utf8-mark.inf  in UTF-8 with byte-order mark
  utf16.inf      in UTF-16 little-endian with byte-order mark

and expected.txt: the locale of such a PC, its code page, then one line
"SECTION<TAB>KEY<TAB>VALUE" (UTF-8) for every value the menu must read.
Entry 1's target (a program) and the background picture have names in the
language; the tests give them files of those names.

ar/render.png and ja/render.png are those menus as automenu-tool render
draws them (with tests/data/pictures/pal1.bmp as the background picture).

The code pages are Python's own tables (Microsoft's), so the files do not
depend on the converters of the system that reads them.
"""
import os

HERE = os.path.dirname(os.path.abspath(__file__))

# language: locale, code page, title, text line, entry 1, entry 2, exit,
# entry 1's target, the background picture's name
LANGUAGES = {
    "ru": ("ru_RU.UTF-8", 1251, "Установка программы", "Добро пожаловать! «Выберите»",
           "Установить", "Прочитать описание", "Выход", "Установка.exe", "Фон.bmp"),
    "ja": ("ja_JP.UTF-8", 932, "ソフト表示のインストール", "ようこそ。ゼロからゾーンへ",
           "インストール", "説明書を読む", "終了", "ソフト表.exe", "背景.bmp"),
    "zh": ("zh_CN.UTF-8", 936, "安装程序", "欢迎使用本软件。", "安装", "阅读说明", "退出",
           "安装.exe", "背景.bmp"),
    "el": ("el_GR.UTF-8", 1253, "Εγκατάσταση προγράμματος", "Καλώς ήρθατε!", "Εγκατάσταση",
           "Διαβάστε με", "Έξοδος", "Εγκατάσταση.exe", "Φόντο.bmp"),
    "he": ("he_IL.UTF-8", 1255, "התקנת התוכנה", "ברוכים הבאים.", "התקן עכשיו", "קרא אותי",
           "יציאה", "התקנה.exe", "רקע.bmp"),
    "ar": ("ar_EG.UTF-8", 1256, "تثبيت البرنامج", "مرحبا بكم.", "تثبيت الآن", "اقرأني",
           "خروج", "تثبيت.exe", "خلفية.bmp"),
    "pl": ("pl_PL.UTF-8", 1250, "Instalacja programu", "Zażółć gęślą jaźń.", "Zainstaluj",
           "Przeczytaj mnie", "Wyjście", "Instalator_żółw.exe", "Tło.bmp"),
    "cs": ("cs_CZ.UTF-8", 1250, "Instalace programu", "Příliš žluťoučký kůň.", "Nainstalovat",
           "Přečtěte si", "Konec", "Instalátor_ř.exe", "Pozadí.bmp"),
    "tr": ("tr_TR.UTF-8", 1254, "Programın kurulumu", "Hoş geldiniz! İğüşöç", "Yükle",
           "Beni oku", "Çıkış", "Kurulum_ş.exe", "Arka_plan_ğ.bmp"),
    "th": ("th_TH.UTF-8", 874, "ติดตั้งโปรแกรม", "ยินดีต้อนรับ", "ติดตั้ง", "อ่านฉัน", "ออก",
           "ติดตั้ง.exe", "พื้นหลัง.bmp"),
}

# In Shift-JIS a trail byte can be "[", "\" or "]" (ゼ is 0x83 0x5B, ソ 0x83
# 0x5C, ゾ 0x83 0x5D, 表 0x95 0x5C) or an ASCII letter (ア is 0x83 0x41, ヂ
# 0x83 0x61): read byte by byte, [ゾーン表示] would end at its first trail
# byte, and [ア] and [ヂ] would be one name in another case.
JAPANESE_EXTRA = [
    ("ゾーン表示", "ソ", "表"),
    ("ア", "k", "a"),
    ("ヂ", "k", "di"),
]


def font(prefix, size, bold="NO", underline="NO", colour="clBlack"):
    return [
        (f"{prefix} Name", "Arial"),
        (f"{prefix} Color", colour),
        (f"{prefix} Style Bold Use", bold),
        (f"{prefix} Style Italic Use", "NO"),
        (f"{prefix} Style Underline Use", underline),
        (f"{prefix} Size", size),
    ]


def menu(title, line, entry1, entry2, exit_caption, target, picture):
    entry = "Installation Message Label"
    sections = [
        ("Installation Form Size Setup", [("Form Height", "240"), ("Form Width", "400")]),
        ("BackGround Image File Setup", [
            ("BackGround Image Use", "YES"), ("BackGround Image Path", "NOW"),
            ("BackGround Image Name", picture), ("BackGround Image Height", "11"),
            ("BackGround Image Width", "17"), ("BackGround Image Top", "0"),
            ("BackGround Image Left", "0")]),
        ("Title Message Label Setup", [
            ("Title Message Label Use", "YES"), ("Title Message Label Caption", title),
            ("Title Message Label Top", "16"), ("Title Message Label Left", "24")]
            + font("Title Message Label Font", "16", bold="YES", colour="clNavy")),
        ("Exit Label Setup", [
            ("Exit Label Use", "YES"), ("Exit Label Caption", exit_caption),
            ("Exit Label Top", "180"), ("Exit Label Left", "300")]
            + font("Exit Label First Font", "10") + font("Exit Label Second Font", "10", underline="YES")),
        ("Normal Message Label Count Setup", [("Normal Message Label Count", "1")]),
        ("Normal Message Label 1 Font Setup", [
            ("Normal Message Label 1 Caption", line), ("Normal Message Label 1 Font Top", "56"),
            ("Normal Message Label 1 Font Left", "24")] + font("Normal Message Label 1 Font", "10")),
        ("Installation Message Label Count Setup", [("Installation Message Label Count", "2")]),
    ]
    for n, caption in ((1, entry1), (2, entry2)):
        keys = [(f"{entry} {n} Caption", caption), (f"{entry} {n} Font Top", str(60 + 36 * n)),
                (f"{entry} {n} Font Left", "40")]
        keys += font(f"{entry} {n} First Font", "12")
        keys += font(f"{entry} {n} Second Font", "12", underline="YES", colour="clBlue")
        keys.append((f"{entry} {n} File Path", target if n == 1 else "."))
        sections.append((f"{entry} {n} Font Setup", keys))
    return sections


def main():
    for language, (locale, code_page, *texts) in LANGUAGES.items():
        sections = menu(*texts)
        if language == "ja":
            sections += [(section, [(key, value)]) for section, key, value in JAPANESE_EXTRA]
        text = "\r\n\r\n".join(
            f"[{name}]\r\n" + "".join(f"{key}={value}\r\n" for key, value in keys) for name, keys in sections)
        directory = os.path.join(HERE, language)
        os.makedirs(directory, exist_ok=True)
        files = {
            "ansi.inf": text.encode(f"cp{code_page}"),
            "utf8.inf": text.encode("utf-8"),
            "utf8-mark.inf": b"\xef\xbb\xbf" + text.encode("utf-8"),
            "utf16.inf": b"\xff\xfe" + text.encode("utf-16-le"),
        }
        for name, data in files.items():
            with open(os.path.join(directory, name), "wb") as f:
                f.write(data)
        with open(os.path.join(directory, "expected.txt"), "w", encoding="utf-8", newline="\n") as f:
            f.write(f"{locale}\n{code_page}\n")
            for name, keys in sections:
                for key, value in keys:
                    f.write(f"{name}\t{key}\t{value}\n")


if __name__ == "__main__":
    main()
