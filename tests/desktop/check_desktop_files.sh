#!/usr/bin/env bash
# Checks one of the files that installing puts on the desktop. Exits 77 (skipped) when the
# tool the check needs is not installed.
#   man-page MANPAGE SORAMINE_CLI   every command and option that --help shows is in the page
#   desktop-entry FILE              desktop-file-validate accepts the menu entry
#   appstream FILE                  appstreamcli accepts the metadata without any remark
#   mime-type FILE                  the shared MIME database maps *.qrn and the file's
#                                   signature to the settings type
set -euo pipefail
need() { command -v "$1" >/dev/null || { echo "$1 is not installed: skipped"; exit 77; }; }

case "$1" in
man-page)
  page="$2" cli="$3"
  # The page's text with roff's escaped hyphens and font changes taken out.
  text="$(sed -e 's/\\-/-/g' -e 's/\\f[BIRP]//g' "$page")"
  commands="$("$cli" --help | sed -n 's/^  \([a-z][a-z-]*\)  .*/\1/p')"
  [ -n "$commands" ] || { echo "no command found in soramine-cli --help"; exit 1; }
  missing=0
  for word in $commands $("$cli" --help | grep -o -- '--[a-z][a-z-]*' | sort -u); do
    grep -q -e "$word" <<<"$text" || { echo "not in the manual page: $word"; missing=1; }
  done
  for command in $commands; do
    for option in $("$cli" "$command" --help | grep -o -- '--[a-z][a-z-]*' | sort -u); do
      grep -q -e "$option" <<<"$text" || { echo "not in the manual page: $command $option"; missing=1; }
    done
  done
  exit $missing
  ;;
desktop-entry)
  need desktop-file-validate
  desktop-file-validate "$2"
  ;;
appstream)
  need appstreamcli
  appstreamcli validate --no-net --strict "$2"
  ;;
mime-type)
  need update-mime-database
  root="$(mktemp -d)"
  trap 'rm -rf "$root"' EXIT
  mkdir -p "$root/mime/packages"
  cp "$2" "$root/mime/packages/"
  update-mime-database "$root/mime"
  grep -qx 'application/x-soramine-settings:\*.qrn' <(cut -d: -f2- "$root/mime/globs2")
  grep -q 'application/x-soramine-settings' "$root/mime/magic"
  ;;
*)
  echo "unknown check: $1"
  exit 2
  ;;
esac
