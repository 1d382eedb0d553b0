#!/usr/bin/env bash
# Builds the Debian package from build/ and checks its contents and computed dependencies.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root/build"
rm -f ./*.deb
cpack -G DEB
deb=$(ls ./솔빛셈_*.deb)
contents=$(dpkg-deb -c "$deb")
depends=$(dpkg-deb -f "$deb" Depends)
fail=0
for f in ./usr/bin/solbitsem ./usr/bin/solbitsem-sample ./usr/bin/solbitsem-postal-import ./usr/bin/solbitsem-cidsim \
         ./usr/share/solbitsem/dbpost.db ./usr/share/applications/solbitsem.desktop \
         ./usr/share/icons/hicolor/scalable/apps/solbitsem.svg; do
    grep -q " $f\$" <<<"$contents" || { echo "패키지에 없음: $f"; fail=1; }
done
if grep -q -E ' \./usr/bin/tst_' <<<"$contents"; then echo "패키지에 시험 프로그램이 들어 있음"; fail=1; fi
for d in libqt6widgets6 libqt6sql6 libqt6sql6-sqlite libqt6sql6-psql qt6-qpa-plugins qt6-translations-l10n libsqlite3-0 libsodium23 libxlsxwriter; do
    grep -q "$d" <<<"$depends" || { echo "의존성에 없음: $d ($depends)"; fail=1; }
done
grep -q '^Categories=Office;Finance;$' <(dpkg-deb --fsys-tarfile "$deb" | tar -xO ./usr/share/applications/solbitsem.desktop) \
    || { echo "데스크톱 항목의 분류가 다름"; fail=1; }
echo "$deb"
echo "Depends: $depends"
exit $fail
