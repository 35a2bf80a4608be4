# Shared by the reference-picture checks: the table of moments and the pixel hash.
# Moment, unit, zone. Chosen to cover both globes by day and by phase (the Sun
# over the Pacific, new and full Moon), odd and even units up to a 2160-pixel
# screen, the last half second of a minute, a daylight-saving day and a
# calendar reaching back before 2000.
reference_cases=(
  "2000-01-01T12:00:00Z 28 UTC"
  "2026-12-08T22:30:00Z 28 UTC"
  "2026-12-09T13:00:20Z 40 Europe/Berlin"
  "2026-12-16T06:00:05Z 20 Asia/Tokyo"
  "2026-12-24T03:45:50Z 27 America/New_York"
  "2026-03-29T00:59:59.7Z 21 Europe/London"
  "1999-12-31T23:59:30Z 28 UTC"
  "2026-12-09T10:08:30Z 135 UTC"
)

# The SHA-256 of a PNG's pixels as 8-bit RGB, whatever encoder wrote the file.
pixel_hash() { convert "$1" -depth 8 rgb:- | sha256sum | cut -d' ' -f1; }

# Draws every case with the command given (a program and the words before it)
# in folder $1 and writes one line per picture to standard output: the hash,
# the case and the picture (w the window, e and m the globes).
draw_reference_cases() {
  local folder=$1
  shift
  local case moment unit zone picture
  for case in "${reference_cases[@]}"; do
    read -r moment unit zone <<<"$case"
    (cd "$folder" && TZ=$zone "$@" --at "$moment" --unit "$unit" \
      --out w.png --earth-out e.png --moon-out m.png)
    for picture in w e m; do
      echo "$(pixel_hash "$folder/$picture.png" 2>/dev/null || echo none) $moment $unit $zone $picture"
    done
  done
}

# Passes when every line of the drawn list $2 stands in the reference list $1,
# else fails with the lines that do not; $3 says what was drawn and $4 what it
# is compared with.
compare_with_reference() {
  local differing
  differing=$(diff "$1" "$2" | grep -c '^>')
  if [ "$differing" = 0 ]; then
    pass "$3: all $(wc -l <"$1") pictures match $4 pixel for pixel"
  else
    fail "$3: $differing pictures differ from $4:"
    diff "$1" "$2" | grep '^>' | sed 's/^>/   /'
  fi
}
