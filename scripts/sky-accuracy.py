#!/usr/bin/python3
"""How true the dial's sky is: horavel-snapshot --describe against astropy.

Runs `horavel-snapshot --describe` for a few thousand moments from 1900 to 2100
and compares what it says with astropy: the Earth's sub-solar point, the Sun's
place, the Earth's rotation and pole, the Moon's direction and distance, and the
Moon's phase. Prints, for each quantity, the median, the 95th percentile and
the worst of the errors, and the moment of the worst.

Run it with Debian's Python and its astropy (python3-astropy), after building
the snapshot tool (cmake --build --preset linux --target horavel-snapshot):

    /usr/bin/python3 scripts/sky-accuracy.py [--snapshot PATH] [--count N] [--jobs J]
                                             [--from DATE] [--to DATE] [--seed S]

Nothing is downloaded: the ephemeris is astropy's built-in one and the Earth's
orientation data are the tables installed with astropy.

The conventions, those of the program and those of the reference, are these.

The program. The clock reads UTC, and the program uses that one time for
everything: its series argument t_millennia is (JD(UTC) − 2451545) / 365250,
with no ΔT (it takes UTC for the dynamical time its series were fitted in), and
its Earth turns by the same UTC (it takes UTC for UT1). Its vectors are
geometric (no light time, no aberration) on the mean equator and equinox of
J2000.0: earth_km is the Earth's centre from the Sun, moon_km the Moon's centre
from the Earth's. Its Earth is a sphere whose pole stays on the J2000.0 pole
(no precession, no nutation) and whose prime meridian turns at a constant rate;
its sub-solar point is the Sun's direction from the Earth's centre in that
frame, so its latitude is the Sun's J2000.0 declination. The script checks
these readings on every moment before it uses them.

The reference, the real sky at the moment the clock reads:
- The Sun and the Moon are astropy's apparent geocentric places (light time
  and annual aberration applied) in the GCRS, which is the J2000.0 mean
  equator and equinox to 0.02″. The Sun's aberration, about 20″, is thus part
  of the program's measured error (the Sun one sees is there); for the Moon the
  apparent and the geometric directions differ by under 1″.
- Everything is geocentric, as the dial draws it: the sub-solar point is where
  the Sun's direction from the Earth's centre meets the ground (parallax 8.8″),
  and the Moon's direction and phase are those seen from the Earth's centre.
  An observer on the ground sees the Moon up to 1° elsewhere (its parallax) and
  its phase angle up to 1° different.
- The direction's latitude in the terrestrial frame is also the geodetic
  latitude of the place with the Sun in its zenith (the ellipsoid's normal
  there points at the Sun), and a map's latitudes are geodetic: so the program's
  sphere, which maps the direction's latitude onto the map, and the reference
  count the same latitude.
- The Earth's orientation is the IAU 2006/2000A precession-nutation with the
  Earth rotation angle of UT1 and the pole's wander (erfa.c2t06a): its x axis
  is the Greenwich meridian, its z axis the true pole.
- Time scales. From 1962, where the IERS table installed with astropy begins,
  to its end: TT from UTC through the leap seconds (astropy), UT1 = UTC +
  (UT1 − UTC) and the pole's wander from that table. Before 1962 the clock's
  time is taken as UT1 (civil time was mean solar time; UTC began in 1960 and
  was steered to it), and TT = UT1 + ΔT by the polynomials of Espenak and
  Meeus (Five Millennium Canon of Solar Eclipses, 2006), within about 1 s of
  the observed ΔT of the twentieth century. After the table's end UT1 is taken
  as UTC (leap seconds keep them within 0.9 s) and TT − UTC stays at the last
  leap second's 69.184 s: nobody knows the future ΔT, and a guess would only
  move the Moon by 0.5″ per second of it.

The IERS tables and UT1. astropy finds UT1 − UTC and the pole's wander by
interpolating a table of observed values, and beyond the table's ends it has
none: its Time refuses to give UT1 there, and its coordinate transformations
take UT1 − UTC as 0 with a warning. With the automatic download off, the only
table is the one installed with astropy (from 1962 to a date near its
release), so every moment after that date is beyond it, the present included.
The script looks the moments up in that table itself, and gives a moment
outside it UT1 − UTC = 0 and no wander, as said above. An error in UT1 of one second turns the Earth by
15″ (0.25′), about 0.46 km on the equator.

The reference's own limits: the built-in ephemeris (erfa's epv00 for the Earth,
moon98 for the Moon) errs by 11 km for the Earth's heliocentric place (0.02″ in
the Sun's direction) over 1900–2100 and by 2.9″ (root mean square, 18.3″ at
worst) for the Moon's direction over 1950–2100; the precession-nutation model by
milliarcseconds; ΔT before 1962 by about a second (0.5″ of the Moon's place).
"""

import argparse
import concurrent.futures
import datetime
import json
import math
import pathlib
import subprocess
import sys
import time
import warnings

import numpy as np

from astropy.utils import data, iers

# No download, ever: the IERS tables are the ones installed with astropy, the
# ephemeris is astropy's own.
iers.conf.auto_download = False
data.conf.allow_internet = False

import astropy.units as u  # noqa: E402  (after the download settings, which the imports below read)
import erfa  # noqa: E402
from astropy.coordinates import get_body, solar_system_ephemeris  # noqa: E402
from astropy.time import Time  # noqa: E402

solar_system_ephemeris.set("builtin")

# Before 1960 UTC has no leap-second table, and erfa warns of a "dubious year"
# wherever astropy turns such a UTC into TAI: in the TT this script takes from
# astropy only from 1962 on (before, it makes TT itself), and in the daily term
# of TDB − TT, microseconds, which that moves by nothing that shows here.
warnings.filterwarnings("ignore", message=".*dubious year.*", category=erfa.ErfaWarning)
# The leap-second file installed with astropy is past the date to which it was
# promised complete; no leap second has been added since 2017-01-01, so it
# still counts them all.
warnings.filterwarnings("ignore", message=".*leap-second file is expired.*", category=iers.IERSStaleWarning)

REPOSITORY = pathlib.Path(__file__).resolve().parent.parent
DEFAULT_SNAPSHOT = REPOSITORY / "build/linux/tools/snapshot/horavel-snapshot"

# The widest span of the moments, UTC: erfa's epv00, the reference's Earth,
# holds its accuracy from 1900-01-01 12:00 to 2100-01-01 12:00 TT, and the ΔT
# polynomials below begin in 1900.
FIRST_DATE = "1900-01-02"
LAST_DATE = "2099-12-31"
UNIX_EPOCH = datetime.datetime(1970, 1, 1)
JULIAN_DAY_UNIX_EPOCH = 2440587.5              # days
JULIAN_DAY_J2000 = 2451545.0                   # days
DAYS_PER_MILLENNIUM = 365250.0
SECONDS_PER_DAY = 86400.0
EARTH_RADIUS_KM = 6371.0                       # the program's sphere
DISC_RADIUS_PX_AT_U28 = 2.5 * 28               # a globe's disc on screen: 5U of a 14U picture drawn 7U wide
ARCMIN_PER_RADIAN = 60.0 * 180.0 / math.pi
SECONDS_OF_TIME_PER_ARCMIN = 4.0               # the Earth turns 15′ a second of time


def parse_arguments():
    parser = argparse.ArgumentParser(description="Compares horavel-snapshot --describe with astropy, 1900–2100.")
    parser.add_argument("--snapshot", type=pathlib.Path, default=DEFAULT_SNAPSHOT,
                        help="the horavel-snapshot program (default: %(default)s)")
    parser.add_argument("--count", type=int, default=4000, help="moments to compare (default: %(default)s)")
    parser.add_argument("--from", dest="first", type=datetime.date.fromisoformat, default=FIRST_DATE,
                        help="the first day of the moments, UTC (default: %(default)s)")
    parser.add_argument("--to", dest="last", type=datetime.date.fromisoformat, default=LAST_DATE,
                        help="the day the moments end, UTC, not included (default: %(default)s)")
    parser.add_argument("--seed", type=int, default=20000101,
                        help="seed of the moments' draw; the same seed gives the same moments (default: %(default)s)")
    parser.add_argument("--jobs", type=int, default=1,
                        help="snapshot programs run at once (default: %(default)s)")
    return parser.parse_args()


def draw_moments(count, first_day, last_day, seed):
    """Whole-second UTC moments, uniform from the start of first_day to that of
    last_day, in order.

    Drawn, not stepped: a fixed step would meet the month and the day at the
    same few phases again and again."""
    first = datetime.datetime.combine(first_day, datetime.time())
    span_s = int((datetime.datetime.combine(last_day, datetime.time()) - first).total_seconds())
    offsets_s = np.sort(np.random.default_rng(seed).integers(0, span_s, size=count))
    return [first + datetime.timedelta(seconds=int(s)) for s in offsets_s]


def iso_text(moment):
    return moment.strftime("%Y-%m-%dT%H:%M:%SZ")


def describe(snapshot, moment):
    result = subprocess.run([str(snapshot), "--describe", "--at", iso_text(moment)],
                            capture_output=True, text=True, check=True)
    return json.loads(result.stdout)


def run_program(snapshot, moments, jobs):
    """The program's descriptions of the moments, one process each, and the
    seconds taken. A process is cheap (16 ms of processor time, mostly its
    start), so a batch needs nothing more; --jobs shares them out."""
    started_s = time.monotonic()
    with concurrent.futures.ThreadPoolExecutor(max_workers=jobs) as pool:
        descriptions = list(pool.map(lambda moment: describe(snapshot, moment), moments))
    return descriptions, time.monotonic() - started_s


def label_julian_days(moments):
    """The Julian day of each clock reading as the clock counts it: days of
    86400 s since 1601 by its own tick count, leap seconds not counted."""
    return np.array([JULIAN_DAY_UNIX_EPOCH + (m - UNIX_EPOCH).total_seconds() / SECONDS_PER_DAY for m in moments])


def delta_t_espenak_meeus_s(julian_day):
    """ΔT = TT − UT1, seconds, by the polynomials of Espenak and Meeus for 1900–1986."""
    year = 2000.0 + (julian_day - JULIAN_DAY_J2000) / 365.25
    t = np.select([year < 1920.0, year < 1941.0, year < 1961.0], [year - 1900.0, year - 1920.0, year - 1950.0],
                  year - 1975.0)
    return np.select(
        [year < 1920.0, year < 1941.0, year < 1961.0],
        [-2.79 + 1.494119 * t - 0.0598939 * t**2 + 0.0061966 * t**3 - 0.000197 * t**4,
         21.20 + 0.84493 * t - 0.076100 * t**2 + 0.0020936 * t**3,
         29.07 + 0.407 * t - t**2 / 233.0 + t**3 / 2547.0],
        45.45 + 1.067 * t - t**2 / 260.0 - t**3 / 718.0)


class ReferenceTimes:
    """TT and UT1 (two-part Julian days) and the pole's wander (radians) of each
    clock reading, by the rules in the module's text."""

    def __init__(self, moments, label_jd):
        table = iers.IERS_B.open()
        self.table_first_mjd = float(table["MJD"][0].value)
        self.table_last_mjd = float(table["MJD"][-1].value)
        utc = Time([iso_text(m) for m in moments], scale="utc")
        ut1_minus_utc_s, ut1_status = table.ut1_utc(utc, return_status=True)
        wander_x, wander_y, wander_status = table.pm_xy(utc, return_status=True)
        in_table = (ut1_status == iers.FROM_IERS_B) & (wander_status == iers.FROM_IERS_B)
        self.before_table = ut1_status == iers.TIME_BEFORE_IERS_RANGE
        self.after_table = ut1_status == iers.TIME_BEYOND_IERS_RANGE

        # UT1: the reading itself, plus UT1 − UTC where the table has it.
        self.ut1_jd1 = label_jd
        self.ut1_jd2 = np.where(in_table, ut1_minus_utc_s.to_value(u.s), 0.0) / SECONDS_PER_DAY
        self.wander_x_rad = np.where(in_table, wander_x.to_value(u.rad), 0.0)
        self.wander_y_rad = np.where(in_table, wander_y.to_value(u.rad), 0.0)

        # TT: through the leap seconds from 1962, UT1 + ΔT before.
        tt_from_utc = utc.tt
        self.tt_jd1 = np.where(self.before_table, label_jd, tt_from_utc.jd1)
        self.tt_jd2 = np.where(self.before_table, delta_t_espenak_meeus_s(label_jd) / SECONDS_PER_DAY, tt_from_utc.jd2)

    def tt(self):
        return Time(self.tt_jd1, self.tt_jd2, format="jd", scale="tt")


def unit_rows(vectors):
    return vectors / np.linalg.norm(vectors, axis=1, keepdims=True)


def separation_rad(a, b):
    """The angle between each pair of rows, radians, well conditioned at 0."""
    return np.arctan2(np.linalg.norm(np.cross(a, b), axis=1), np.einsum("ij,ij->i", a, b))


def right_ascension_declination_rad(vectors):
    return np.arctan2(vectors[:, 1], vectors[:, 0]), np.arcsin(unit_rows(vectors)[:, 2])


def wrapped_rad(angle_rad):
    """An angle brought into [−π, π)."""
    return (angle_rad + math.pi) % (2.0 * math.pi) - math.pi


def frame_turn_z(angle_rad):
    """Frame rotations R3(angle) about z, one matrix a row of angle_rad."""
    c, s = np.cos(angle_rad), np.sin(angle_rad)
    zero, one = np.zeros_like(c), np.ones_like(c)
    return np.stack([np.stack([c, s, zero], -1), np.stack([-s, c, zero], -1), np.stack([zero, zero, one], -1)], -2)


def pole_and_spin_rad(difference):
    """Splits rotations D (one a row) into a tilt of the pole and a spin about it:
    D = T⁻¹·R3(σ), T the least rotation that brings D's image of z onto z.
    Returns the tilt's angle and σ, radians."""
    pole = difference[:, :, 2]
    tilt_rad = np.arccos(np.clip(pole[:, 2], -1.0, 1.0))
    axis = np.cross(pole, np.array([0.0, 0.0, 1.0]))
    axis_length = np.linalg.norm(axis, axis=1, keepdims=True)
    axis = np.where(axis_length > 0.0, axis / np.where(axis_length > 0.0, axis_length, 1.0), [1.0, 0.0, 0.0])
    # Rodrigues' formula for the tilt T, then S = T·D, a pure turn about z.
    k = np.zeros((len(axis), 3, 3))
    k[:, 0, 1], k[:, 0, 2], k[:, 1, 2] = -axis[:, 2], axis[:, 1], -axis[:, 0]
    k[:, 1, 0], k[:, 2, 0], k[:, 2, 1] = axis[:, 2], -axis[:, 1], axis[:, 0]
    sine, cosine = np.sin(tilt_rad)[:, None, None], np.cos(tilt_rad)[:, None, None]
    tilt = np.eye(3) + sine * k + (1.0 - cosine) * (k @ k)
    spin = tilt @ difference
    return tilt_rad, np.arctan2(spin[:, 0, 1], spin[:, 0, 0])


def check_program_conventions(descriptions, label_jd, sun_program_km):
    """Stops unless the program's output reads as the module's text says."""
    jd = np.array([d["jd_utc"] for d in descriptions])
    t_millennia = np.array([d["t_millennia"] for d in descriptions])
    latitude_deg = np.array([d["subsolar_lat_deg"] for d in descriptions])
    _, declination_rad = right_ascension_declination_rad(sun_program_km)
    problems = []
    if np.max(np.abs(jd - label_jd)) * SECONDS_PER_DAY > 0.001:
        problems.append("its Julian days are not the clock readings asked for")
    if np.max(np.abs(t_millennia - (jd - JULIAN_DAY_J2000) / DAYS_PER_MILLENNIUM)) > 1e-12:
        problems.append("its t_millennia is not the UTC Julian day counted from J2000.0")
    if np.max(np.abs(latitude_deg - np.degrees(declination_rad))) > 1e-9:
        problems.append("its sub-solar latitude is not the Sun's J2000.0 declination (its pole moved)")
    if problems:
        sys.exit("sky-accuracy: the program's output does not read as this script assumes: " + "; ".join(problems))


def measure(moments, descriptions, times):
    """Each quantity's error, one value a moment, in the unit its row names."""
    earth_km = np.array([d["earth_km"] for d in descriptions])
    moon_program_km = np.array([d["moon_km"] for d in descriptions])
    subsolar_lon_rad = np.radians([d["subsolar_lon_deg"] for d in descriptions])
    subsolar_lat_rad = np.radians([d["subsolar_lat_deg"] for d in descriptions])
    phase_program_deg = np.array([d["moon_phase_angle_deg"] for d in descriptions])
    lit_program = np.array([d["moon_illuminated_fraction"] for d in descriptions])
    program_jd = np.array([d["jd_utc"] for d in descriptions])
    sun_program_km = -earth_km
    check_program_conventions(descriptions, label_julian_days(moments), sun_program_km)

    tt = times.tt()
    sun_km = get_body("sun", tt).cartesian.xyz.to_value(u.km).T
    moon_km = get_body("moon", tt).cartesian.xyz.to_value(u.km).T
    # The Moon where the reference has it at the program's own series argument:
    # what is left is the series' error, without the time scale's.
    moon_at_program_t_km = get_body(
        "moon", Time(program_jd, format="jd", scale="tt")).cartesian.xyz.to_value(u.km).T
    celestial_to_terrestrial = erfa.c2t06a(times.tt_jd1, times.tt_jd2, times.ut1_jd1, times.ut1_jd2,
                                           times.wander_x_rad, times.wander_y_rad)

    # The sub-solar point: the Sun's direction in the terrestrial frame.
    sun_terrestrial = np.einsum("nij,nj->ni", celestial_to_terrestrial, unit_rows(sun_km))
    true_lon_rad, true_lat_rad = right_ascension_declination_rad(sun_terrestrial)
    program_point = np.stack([np.cos(subsolar_lat_rad) * np.cos(subsolar_lon_rad),
                              np.cos(subsolar_lat_rad) * np.sin(subsolar_lon_rad), np.sin(subsolar_lat_rad)], -1)
    subsolar_rad = separation_rad(program_point, unit_rows(sun_terrestrial))

    # Its two causes. The Sun's place, in the J2000.0 frame of both:
    program_ra_rad, program_dec_rad = right_ascension_declination_rad(sun_program_km)
    true_ra_rad, true_dec_rad = right_ascension_declination_rad(sun_km)
    # … and the Earth's orientation. The program's Earth is a turn R3(G) about the
    # J2000.0 pole, G the right ascension of its Greenwich meridian, which its
    # sub-solar longitude gives: longitude = α(Sun) − G.
    greenwich_rad = program_ra_rad - subsolar_lon_rad
    difference = frame_turn_z(greenwich_rad) @ np.transpose(celestial_to_terrestrial, (0, 2, 1))
    pole_rad, spin_rad = pole_and_spin_rad(difference)

    # The Moon's phase: the angle Sun–Moon–Earth at the Moon.
    phase_rad = separation_rad(sun_km - moon_km, -moon_km)
    lit = (1.0 + np.cos(phase_rad)) / 2.0

    return [
        ("sub-solar point, on the ground", "arcmin", subsolar_rad * ARCMIN_PER_RADIAN),
        ("  the same in kilometres", "km", subsolar_rad * EARTH_RADIUS_KM),
        ("  the same at the disc's centre, U = 28", "px", subsolar_rad * DISC_RADIUS_PX_AT_U28),
        ("sub-solar latitude", "arcmin", (subsolar_lat_rad - true_lat_rad) * ARCMIN_PER_RADIAN),
        ("sub-solar longitude", "arcmin", wrapped_rad(subsolar_lon_rad - true_lon_rad) * ARCMIN_PER_RADIAN),
        ("  Sun's place (J2000.0 frame)", "arcmin",
         separation_rad(unit_rows(sun_program_km), unit_rows(sun_km)) * ARCMIN_PER_RADIAN),
        ("    its right ascension × cos δ", "arcmin",
         wrapped_rad(program_ra_rad - true_ra_rad) * np.cos(true_dec_rad) * ARCMIN_PER_RADIAN),
        ("    its declination", "arcmin", (program_dec_rad - true_dec_rad) * ARCMIN_PER_RADIAN),
        ("  Earth's rotation angle", "arcmin", spin_rad * ARCMIN_PER_RADIAN),
        ("  Earth's pole", "arcmin", pole_rad * ARCMIN_PER_RADIAN),
        ("Moon's direction", "arcmin",
         separation_rad(unit_rows(moon_program_km), unit_rows(moon_km)) * ARCMIN_PER_RADIAN),
        ("  the series alone (TT = program's t)", "arcmin",
         separation_rad(unit_rows(moon_program_km), unit_rows(moon_at_program_t_km)) * ARCMIN_PER_RADIAN),
        ("Moon's distance", "km", np.linalg.norm(moon_program_km, axis=1) - np.linalg.norm(moon_km, axis=1)),
        ("Moon's phase angle", "deg", phase_program_deg - np.degrees(phase_rad)),
        ("Moon's illuminated fraction", "%", (lit_program - lit) * 100.0),
    ], spin_rad * ARCMIN_PER_RADIAN


def print_table(moments, rows):
    print(f"{'quantity':<42} {'unit':<6} {'median':>9} {'95 %':>9} {'worst':>9}   worst at (UTC)")
    for name, unit, errors in rows:
        size = np.abs(errors)
        worst = int(np.argmax(size))
        print(f"{name:<42} {unit:<6} {np.median(size):9.3f} {np.percentile(size, 95):9.3f} "
              f"{errors[worst]:+9.3f}   {iso_text(moments[worst])}")


def print_rotation_trend(label_jd, spin_arcmin):
    """The Earth's rotation error as a straight line in time: its offset in 2000
    and its drift a century."""
    centuries = (label_jd - JULIAN_DAY_J2000) / 36525.0
    drift, offset = np.polyfit(centuries, spin_arcmin, 1)
    residual = np.max(np.abs(spin_arcmin - (offset + drift * centuries)))
    print(f"Earth's rotation angle, program − true ≈ {offset:+.2f}′ {drift:+.2f}′·T (T: centuries from J2000.0),"
          f" within {residual:.2f}′;")
    print(f"  that is {offset * SECONDS_OF_TIME_PER_ARCMIN:+.1f} s {drift * SECONDS_OF_TIME_PER_ARCMIN:+.1f} s·T of time;"
          " a positive angle puts the dial's longitudes west of the true ones.")


def main():
    arguments = parse_arguments()
    if not arguments.snapshot.is_file():
        sys.exit(f"sky-accuracy: no program at {arguments.snapshot}; build it or name it with --snapshot")
    span = (datetime.date.fromisoformat(FIRST_DATE), datetime.date.fromisoformat(LAST_DATE))
    if arguments.count < 2 or arguments.jobs < 1 or not span[0] <= arguments.first < arguments.last <= span[1]:
        sys.exit(f"sky-accuracy: wants --count of 2 or more, --jobs of 1 or more, and --from before --to,"
                 f" both within {FIRST_DATE} … {LAST_DATE}, where the reference holds")
    moments = draw_moments(arguments.count, arguments.first, arguments.last, arguments.seed)
    descriptions, elapsed_s = run_program(arguments.snapshot, moments, arguments.jobs)
    label_jd = label_julian_days(moments)
    times = ReferenceTimes(moments, label_jd)
    rows, spin_arcmin = measure(moments, descriptions, times)

    table_first = Time(times.table_first_mjd, format="mjd", scale="utc").iso[:10]
    table_last = Time(times.table_last_mjd, format="mjd", scale="utc").iso[:10]
    print(f"{len(moments)} moments, {iso_text(moments[0])} … {iso_text(moments[-1])}, seed {arguments.seed};"
          f" the program took {elapsed_s:.1f} s ({1000.0 * elapsed_s / len(moments):.0f} ms a moment,"
          f" {arguments.jobs} at once).")
    print(f"IERS table {table_first} … {table_last}: {int(times.before_table.sum())} moments before it"
          f" (ΔT of Espenak and Meeus), {int(times.after_table.sum())} after it (UT1 = UTC).")
    print("Errors are the program's minus the reference's; median and 95 % of their sizes, the worst with its sign.")
    print()
    print_table(moments, rows)
    print()
    print_rotation_trend(label_jd, spin_arcmin)


if __name__ == "__main__":
    main()
