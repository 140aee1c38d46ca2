#!/usr/bin/env bash
# Source this file, then:
#   zarn_write_connection_ini FILE   sets HOST, PORT, USER and PASSWORD of section [INI] of FILE
#                                    to ZARN_DB_HOST, ZARN_DB_PORT, ZARN_DB_USER and
#                                    ZARN_DB_PASSWORD; every other line stays byte for byte, so
#                                    the settings the program saved there survive. Missing keys
#                                    (or the section) are added. Windows-1250 text with CR LF,
#                                    readable by the user only, since the password stands in it.

zarn_write_connection_ini() {
  local file=$1 tmp
  tmp=$(umask 077; mktemp "$file.XXXXXX") || return 1
  {
    [ -f "$file" ] && cat "$file"
    true
  } | LC_ALL=C awk '
    function key(line,   k) {
      k = line
      sub(/\r$/, "", k)
      if (index(k, "=") == 0) return ""
      k = substr(k, 1, index(k, "=") - 1)
      gsub(/^[ \t]+|[ \t]+$/, "", k)
      return toupper(k)
    }
    function emit_missing(   i) {
      for (i = 1; i <= 4; i++)
        if (!(names[i] in done)) printf "%s=%s\r\n", names[i], values[names[i]]
    }
    BEGIN {
      names[1] = "HOST"; names[2] = "PORT"; names[3] = "USER"; names[4] = "PASSWORD"
      values["HOST"] = ENVIRON["ZARN_DB_HOST"]; values["PORT"] = ENVIRON["ZARN_DB_PORT"]
      values["USER"] = ENVIRON["ZARN_DB_USER"]; values["PASSWORD"] = ENVIRON["ZARN_DB_PASSWORD"]
      in_ini = 0; seen_ini = 0; blanks = ""
    }
    {
      line = $0
      bare = line
      sub(/\r$/, "", bare)
      if (bare ~ /^[ \t]*\[.*\][ \t]*$/) {
        if (in_ini) { emit_missing(); printf "%s", blanks; blanks = "" }
        name = bare
        gsub(/^[ \t]*\[|\][ \t]*$/, "", name)
        in_ini = toupper(name) == "INI"
        if (in_ini) seen_ini = 1
        print line
        next
      }
      if (in_ini) {
        if (bare ~ /^[ \t]*$/) { blanks = blanks line "\n"; next }
        printf "%s", blanks; blanks = ""
        k = key(line)
        if (k in values) {
          if (!(k in done)) printf "%s=%s\r\n", k, values[k]
          done[k] = 1
          next
        }
      }
      print line
    }
    END {
      if (in_ini) { emit_missing(); printf "%s", blanks }
      else if (!seen_ini) { printf "[INI]\r\n"; emit_missing(); printf "\r\n" }
    }' >"$tmp" && chmod 600 "$tmp" && mv -f "$tmp" "$file" || { rm -f "$tmp"; return 1; }
}
