#!/usr/bin/env bash
# Builds the Debian package with Debian's hardening flags in a build folder of its own
# (build-deb/; the test build in build/ stays as it is), then checks what it holds, what it
# depends on, that the programs are hardened, and that lintian finds nothing to say.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
out="$root/build-deb"
cd "$root"

# Debian's flags, all hardening on (bindnow and PIE too). The package is stripped, so the
# debugging information (-g) would only cost compile time.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all DEB_CXXFLAGS_MAINT_STRIP=-g
cxxflags="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)"
ldflags="$(dpkg-buildflags --get LDFLAGS)"
launcher=()
if command -v ccache > /dev/null; then
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
# Build type None: the flags above are all there is. The install does not build "all" (the
# benchmarks and tests are not packaged); the packaged programs are built below.
cmake -S "$root" -B "$out" -DCMAKE_BUILD_TYPE=None -DBUILD_TESTING=OFF -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON \
      -DCMAKE_CXX_FLAGS="$cxxflags" -DCMAKE_EXE_LINKER_FLAGS="$ldflags" "${launcher[@]}" \
      > "$root/build-deb.log" 2>&1 || { cat "$root/build-deb.log"; exit 1; }
programs=(solbitsem solbitsem-import solbitsem-ledger-copy solbitsem-postal-import)
cmake --build "$out" -j"$(nproc)" --target "${programs[@]}" solbitsem_postal_db solbitsem_package_docs \
      >> "$root/build-deb.log" 2>&1 || { tail -50 "$root/build-deb.log"; exit 1; }

cd "$out"
rm -f ./*.deb
cpack -G DEB > /dev/null
deb=./solbitsem_1.0.0_$(dpkg --print-architecture).deb
[ -f "$deb" ] || { echo "패키지 파일이 없음: $deb ($(ls ./*.deb 2>/dev/null))"; exit 1; }
contents=$(dpkg-deb -c "$deb")
depends=$(dpkg-deb -f "$deb" Depends)
recommends=$(dpkg-deb -f "$deb" Recommends)
fail=0
[ "$(dpkg-deb -f "$deb" Package)" = solbitsem ] || { echo "패키지 이름이 solbitsem이 아님"; fail=1; }
for f in ./usr/share/solbitsem/dbpost.db ./usr/share/applications/solbitsem.desktop \
         ./usr/share/icons/hicolor/scalable/apps/solbitsem.svg \
         ./usr/share/doc/solbitsem/copyright ./usr/share/doc/solbitsem/changelog.gz; do
    grep -q " $f\$" <<<"$contents" || { echo "패키지에 없음: $f"; fail=1; }
done
for p in "${programs[@]}"; do
    for f in "./usr/bin/$p" "./usr/share/man/man1/$p.1.gz"; do
        grep -q " $f\$" <<<"$contents" || { echo "패키지에 없음: $f"; fail=1; }
    done
done
# Test programs and the tools for tests and trials stay out.
if grep -q -E ' \./usr/bin/(tst_|solbitsem-(cidsim|sample|bench|printbench))' <<<"$contents"; then
    echo "패키지에 시험용 프로그램이 들어 있음"; fail=1
fi
for d in libqt6widgets6 libqt6sql6 libqt6sql6-sqlite qt6-qpa-plugins libsqlite3-0 libsodium23 libxlsxwriter; do
    grep -q "$d" <<<"$depends" || { echo "의존성에 없음: $d ($depends)"; fail=1; }
done
for d in libqt6sql6-psql qt6-translations-l10n; do
    grep -q "$d" <<<"$recommends" || { echo "추천 패키지에 없음: $d ($recommends)"; fail=1; }
    if grep -q "$d" <<<"$depends"; then echo "꼭 필요하지 않은데 의존성에 있음: $d"; fail=1; fi
done
grep -q '^Categories=Office;Finance;$' <(dpkg-deb --fsys-tarfile "$deb" | tar -xO ./usr/share/applications/solbitsem.desktop) \
    || { echo "데스크톱 항목의 분류가 다름"; fail=1; }

# Hardened: read-only relocations bound at start, a stack protector and fortified calls.
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
dpkg-deb -x "$deb" "$tmp"
# (Each tool's output is read whole first: grep -q stops reading early, and with pipefail the
# writer's broken pipe would count as a failure.)
for p in "${programs[@]}"; do
    bin="$tmp/usr/bin/$p"
    headers=$(readelf -lW "$bin")
    dynamic=$(readelf -dW "$bin")
    symbols=$(readelf --dyn-syms -W "$bin")
    grep -q GNU_RELRO <<<"$headers" || { echo "$p: RELRO 없이 빌드됨"; fail=1; }
    grep -q -E 'BIND_NOW|FLAGS.*NOW' <<<"$dynamic" || { echo "$p: BIND_NOW 없이 빌드됨"; fail=1; }
    grep -q __stack_chk_fail <<<"$symbols" || { echo "$p: 스택 보호 없이 빌드됨"; fail=1; }
    grep -q -E '__[a-z]+_chk@' <<<"$symbols" || { echo "$p: _FORTIFY_SOURCE 없이 빌드됨"; fail=1; }
done

# lintian: no error and no warning (overrides, each with its reason, live in the package).
if ! command -v lintian > /dev/null; then
    echo "lintian이 없습니다 (apt-get install lintian)"; exit 1
fi
lint=$(lintian --fail-on none "$deb" 2>&1 || true)
if grep -q -E '^[EW]: ' <<<"$lint"; then
    echo "lintian이 오류나 경고를 냈습니다:"
    grep -E '^[EW]: ' <<<"$lint"
    fail=1
fi
echo "$deb"
echo "Depends: $depends"
echo "Recommends: $recommends"
exit $fail
