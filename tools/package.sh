#!/usr/bin/env bash
# Builds the release files into build-package/: the Debian package
# fingulp_VERSION_amd64.deb (dpkg-buildpackage with the rules in debian/) and
# the web edition's site as fingulp-web-VERSION.tar.gz, for any static host.
# Installs the build dependencies that are missing (needs root or sudo then).
# The package is built from a copy of the source in build-package/src, so that
# nothing dpkg-buildpackage makes lands in the source tree or beside it.
set -euo pipefail
cd "$(dirname "$0")/.."
out="$PWD/build-package"

sudo_cmd=""
[ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
if ! command -v dpkg-checkbuilddeps >/dev/null || ! dpkg-checkbuilddeps 2>/dev/null; then
  echo "Installing the build dependencies of debian/control"
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get build-dep -y -qq --no-install-recommends ./
fi

# One version number, the project's: the changelog's top entry and the
# metainfo's newest release must carry it.
version="$(sed -n 's/^project(fingulp VERSION \([0-9.]*\) .*/\1/p' CMakeLists.txt)"
packaged="$(dpkg-parsechangelog -S Version)"
released="$(grep -o -m1 '<release version="[^"]*"' packaging/io.github.fingulp.Fingulp.metainfo.xml | cut -d'"' -f2)"
if [ "$packaged" != "$version" ] || [ "$released" != "$version" ]; then
  echo "CMakeLists.txt says $version, debian/changelog $packaged, the metainfo's release $released:" \
       "give the changelog (dch -v $version) and the metainfo an entry for $version" >&2
  exit 1
fi

rm -rf "$out"
mkdir -p "$out/src"
trap 'rm -rf "$out/src"' EXIT
tar -C . --exclude='./build*' --exclude=./.git --exclude=./out --exclude=node_modules -cf - . | tar -C "$out/src" -xf -
(cd "$out/src" && DEB_BUILD_OPTIONS="parallel=$(nproc) terse ${DEB_BUILD_OPTIONS:-}" dpkg-buildpackage -us -uc -b)

# The site, packed the same way every time: sorted names, one owner, the
# changelog entry's time on every file.
tools/web-site.sh
name="fingulp-web-$version"
tar -C build-web/site --sort=name --mtime="@$(dpkg-parsechangelog -S Timestamp)" \
  --owner=0 --group=0 --numeric-owner --mode='a-x,u+w,a+rX' --transform="s,^\.,$name," -cf - . \
  | gzip -9n > "$out/$name.tar.gz"
echo "Built in build-package/: $(cd "$out" && ls -- *.deb *.tar.gz | tr '\n' ' ')"
