// SPDX-License-Identifier: GPL-3.0-or-later
// The design parameter set: the one record the whole program works on, with
// the incoming twin (suffix 2) that holds the driver about to be adopted.
// Field names are the names used across the program; every numeric field is
// stored in single precision, selectors as 16-bit integers.
#pragma once

#include <array>
#include <cstdint>
#include <limits>

#include "support/pstring.h"

namespace ks {

using f32 = float;
using f64 = double;
using i16 = std::int16_t;
using i8 = std::int8_t;

struct Design {
    // --- constants (set at start-up) ---
    f32 C = 345.0f;  // speed of sound, m/s
    f64 PI2 = 2.0 * 3.14159265358979323846;
    i16 DIGT = 6;  // Euler-summed terms of the step response

    // --- driver parameters (design set) ---
    PStr s_SP, s_RANG;
    f32 DIA = 0, FS = 0, VAS = 0, QTS = 0, QES = 0, QMS = 0, EFI = 0, RE = 0, PEMX = 0, SD = 0, XMAX = 0, VD = 0,
        LE = 0;

    // text twins of the numbers
    PStr s_DIA, s_FS, s_VAS, s_QTS, s_QES, s_QMS, s_EFI, s_RE, s_PEMX, s_SD, s_XMAX, s_VD, s_LE, s_SPL, s_VB, s_FC,
        s_QTC, s_QA;

    // --- incoming parameter set, with the built-in default driver ---
    PStr s_SP2 = "Test2.5-07", s_RANG2 = "Dome Tw";
    f32 DIA2 = 2.5f, FS2 = 1000.0f, VAS2 = 0.0f, QTS2 = 0.707f, QES2 = 0.972f, QMS2 = 2.5f, EFI2 = 0.628f, RE2 = 6.0f,
        PEMX2 = 10.0f, SD2 = 5.0f, XMAX2 = 0.2f, VD2 = 0.1f, LE2 = 0.025f;

    // --- derived driver quantities ---
    f32 N0 = 0, SPL = 0, RES = 0, ZL = 0, ZVC = 0;

    // --- box and alignment ---
    f32 VB = 0, FC = 0, QTC = 0, QA = 10.0f, CP = 0, VAB = 0, VAT = 0, AL1 = 0, AL2 = 0, HH = 0;
    f32 VBbak = 0, QTCbak = 0, QTSbak = 0;
    i8 CBAlart = 1;
    // The Qtc the closed box drawn last was solved for; not a number when it
    // was solved for another alignment. Every redraw solves the Qtc again
    // (each pass may move its last bits), so this, not QTC, is what gives the
    // same box again.
    f32 QTCplot = std::numeric_limits<f32>::quiet_NaN();

    // --- transfer-function coefficients ---
    f32 A01 = 0, A02 = 0, B01 = 0;

    // --- selectors ---
    i16 boxSys = 0;  // 1 closed box, 2 infinite baffle, 3 rear-closed unit
    i16 CBactive = 0;
    i16 alin = 0;  // 1 optimum, 2 box volume, 3 Qtc
    PStr s_Resp;   // "amp" "imp" "ph" "gd" "nq" "st" "sys" "ex" "ms"
    i16 respID = 0;
    i16 magni = 1;  // amplitude level: 1 relative, 2 absolute (dB SPL)
    i16 scale = 5;  // amplitude divisions: 5 or 10 dB

    // --- evaluation state shared with the samplers ---
    f32 ff = 0, f = 0;
    f32 yy = 0, yyLinea = 0, xx = 0, gg = 0, fai = 0;

    // --- step-response workspace ---
    i16 NUO = 0, DEO = 0;
    std::array<f32, 21> NUT{}, DET{}, Euler{};
    f32 timeScale = 0;
};

// The driver's thirteen numbers in the order its record carries them: each
// with the incoming twin it is adopted from and the text twin the record's
// field is kept in.
struct DriverNumber {
    f32 Design::*value;
    f32 Design::*incoming;
    PStr Design::*text;
};
// clang-format off
inline constexpr DriverNumber kDriverNumbers[] = {
    {&Design::DIA, &Design::DIA2, &Design::s_DIA},    {&Design::FS, &Design::FS2, &Design::s_FS},
    {&Design::VAS, &Design::VAS2, &Design::s_VAS},    {&Design::QTS, &Design::QTS2, &Design::s_QTS},
    {&Design::QES, &Design::QES2, &Design::s_QES},    {&Design::QMS, &Design::QMS2, &Design::s_QMS},
    {&Design::EFI, &Design::EFI2, &Design::s_EFI},    {&Design::RE, &Design::RE2, &Design::s_RE},
    {&Design::PEMX, &Design::PEMX2, &Design::s_PEMX}, {&Design::SD, &Design::SD2, &Design::s_SD},
    {&Design::XMAX, &Design::XMAX2, &Design::s_XMAX}, {&Design::VD, &Design::VD2, &Design::s_VD},
    {&Design::LE, &Design::LE2, &Design::s_LE},
};
// clang-format on

}  // namespace ks
