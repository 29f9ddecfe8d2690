/* Plays an enhanced metafile with the Windows GDI (run under Wine) onto a
 * white 24-bit bitmap of the given size and writes it as a BMP file, for
 * reference renderings of records no other tool here draws. The picture is
 * played into the bitmap less its last column and row, the box TMetafile
 * hands the player.
 *
 * Build: x86_64-w64-mingw32-gcc -O2 -o play-emf.exe play-emf.c -lgdi32
 * Run:   wine play-emf.exe in.emf out.bmp width height
 */
#include <stdio.h>
#include <stdlib.h>
#include <windows.h>

int main(int argc, char** argv) {
    if (argc != 5) return 2;
    const int w = atoi(argv[3]), h = atoi(argv[4]);
    HENHMETAFILE emf = GetEnhMetaFileA(argv[1]);
    if (!emf || w <= 0 || h <= 0) return 1;
    BITMAPINFO info = {0};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = -h; /* top-down */
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    HDC dc = CreateCompatibleDC(NULL);
    void* bits = NULL;
    HBITMAP bmp = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, NULL, 0);
    if (!bmp) return 1;
    SelectObject(dc, bmp);
    RECT all = {0, 0, w, h};
    FillRect(dc, &all, (HBRUSH)GetStockObject(WHITE_BRUSH));
    RECT box = {0, 0, w - 1, h - 1};
    /* False when some record failed; what the others drew is still written. */
    const BOOL played = PlayEnhMetaFile(dc, emf, &box);
    GdiFlush();

    const DWORD stride = ((DWORD)w * 3 + 3) & ~3u, size = stride * (DWORD)h;
    BITMAPFILEHEADER file = {0};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info.bmiHeader;
    file.bfSize = file.bfOffBits + size;
    FILE* out = fopen(argv[2], "wb");
    if (!out) return 1;
    fwrite(&file, sizeof file, 1, out);
    fwrite(&info.bmiHeader, sizeof info.bmiHeader, 1, out);
    fwrite(bits, 1, size, out);
    fclose(out);
    return played ? 0 : 3;
}
