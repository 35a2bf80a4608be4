#!/usr/bin/env bash
# A release, made of the test command's own build trees: scripts/release.sh,
# given build/linux, build/linux-arm64 and build/windows, checks its packages
# and fills a dist folder with exactly the two Debian packages, the ZIP, the
# installer, the source tarball and SHA256SUMS, which sha256sum -c accepts,
# and the three files of the winget manifest. Those pass winget's published
# schemas (tests/data/winget-schemas) and agree with each other; the
# installer's names nullsoft, the user scope, the released installer's
# SHA-256 and, as ProductCode, the uninstall key the installer writes
# (packaging/windows/Horavel.nsi.in). windows-installer.sh installs and
# uninstalls that installer with the manifest's switches.
set -uo pipefail
cd "$(dirname "$0")/../.."

e2e_name=release
source tests/e2e/lib/report.sh

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
dist=$work/dist
version=$(sed -n 's/^project(Horavel VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)

started=$SECONDS
HORAVEL_LINUX_BUILD=${HORAVEL_LINUX_BUILD:-build/linux} \
HORAVEL_ARM64_BUILD=${HORAVEL_ARM64_BUILD:-build/linux-arm64} \
HORAVEL_WINDOWS_BUILD=${HORAVEL_WINDOWS_BUILD:-build/windows} \
HORAVEL_DIST=$dist \
  scripts/release.sh >"$work/release.log" 2>&1
status=$?
echo "  scripts/release.sh took $((SECONDS - started)) s"
if [ $status -eq 0 ]; then
  pass "scripts/release.sh makes a release of the tested builds, lintian finding no error in either Debian package"
  grep '^W:' "$work/release.log"
else
  fail "scripts/release.sh: exit $status: $(tail -5 "$work/release.log")"
  finish
fi

downloads="horavel-$version-windows-x64-setup.exe horavel-$version-windows-x64.zip horavel-$version.tar.gz horavel_${version}_amd64.deb horavel_${version}_arm64.deb"
manifests="winget/Brantolm.Horavel.installer.yaml winget/Brantolm.Horavel.locale.en-US.yaml winget/Brantolm.Horavel.yaml"
held=$(cd "$dist" && find . -type f | sed 's|^\./||' | LC_ALL=C sort | tr '\n' ' ')
check "dist holds the five packages, SHA256SUMS and the three winget files, nothing else ($held)" \
  '[ "$held" = "$(printf "%s\n" SHA256SUMS $downloads $manifests | LC_ALL=C sort | tr "\n" " ")" ]'
listed=$(awk '{ print $2 }' "$dist/SHA256SUMS" | LC_ALL=C sort | tr '\n' ' ')
check "SHA256SUMS lists the five packages, and sha256sum -c accepts every one" \
  '[ "$listed" = "$(printf "%s\n" $downloads | LC_ALL=C sort | tr "\n" " ")" ] &&
   (cd "$dist" && sha256sum --quiet -c SHA256SUMS)'

# The winget files against the schemas, and what they say: a line for each
# finding, the schemas' on standard output and the rest on standard error;
# nothing when all is well. Debian's Python reads them, with the schema and
# YAML readers scripts/setup.sh installs.
uninstall_key=$(sed -n 's/^!define UNINSTALL_KEY ".*\\\([^\\"]*\)"$/\1/p' packaging/windows/Horavel.nsi.in)
installer_sha256=$(sha256sum "$dist/horavel-$version-windows-x64-setup.exe" | cut -d' ' -f1)
/usr/bin/python3 - "$dist/winget" tests/data/winget-schemas "$version" "$installer_sha256" "$uninstall_key" \
  >"$work/schemas.txt" 2>"$work/manifest.txt" <<'CODE'
import glob, json, os, sys
import jsonschema, yaml
folder, schemas, version, sha256, key = sys.argv[1:]
manifests = {}
for path in sorted(glob.glob(os.path.join(folder, "*.yaml"))):
    manifest = yaml.safe_load(open(path, encoding="utf-8"))
    kind, manifest_version = manifest.get("ManifestType"), manifest.get("ManifestVersion")
    schema = json.load(open(os.path.join(schemas, f"manifest.{kind}.{manifest_version}.json"), encoding="utf-8"))
    for error in jsonschema.Draft7Validator(schema).iter_errors(manifest):
        print(f"{os.path.basename(path)}: {error.message}")
    manifests[kind] = manifest
installer, locale, version_file = manifests["installer"], manifests["defaultLocale"], manifests["version"]
said = {
    "the package": {m["PackageIdentifier"] for m in manifests.values()} == {"Brantolm.Horavel"},
    "the version": {m["PackageVersion"] for m in manifests.values()} == {version},
    "the locale": version_file["DefaultLocale"] == locale["PackageLocale"],
    "InstallerType": installer["InstallerType"] == "nullsoft",
    "Scope": installer["Scope"] == "user",
    "ProductCode": installer["ProductCode"] == key,
    "InstallerSha256": [i["InstallerSha256"].lower() for i in installer["Installers"]] == [sha256],
    "the installer's address": installer["Installers"][0]["InstallerUrl"].endswith(f"/horavel-{version}-windows-x64-setup.exe"),
}
for what, right in said.items():
    if not right:
        print(f"{what} is not what the release holds", file=sys.stderr)
CODE
read_status=$?
check "the three winget files pass winget's schemas of manifest version 1.10.0" \
  '[ $read_status -eq 0 ] && [ ! -s "$work/schemas.txt" ]'
check "the installer manifest names nullsoft, the user scope, version $version, the released installer's SHA-256 and the uninstall key '$uninstall_key' as ProductCode" \
  '[ $read_status -eq 0 ] && [ -n "$uninstall_key" ] && [ ! -s "$work/manifest.txt" ]'
cat "$work/schemas.txt" "$work/manifest.txt"

finish
