# Writes the package's copyright file: packaging/copyright, then one stand-alone License
# paragraph for each licence whose text must travel in full (GPL-3 is in common-licenses).
#   cmake -DHEAD=copyright -DOUT=FILE -DTEXTS="NAME=FILE|NAME=FILE..." -P MakeCopyright.cmake
file(READ ${HEAD} out)
string(REPLACE "|" ";" texts "${TEXTS}")
foreach(entry ${texts})
  string(FIND "${entry}" "=" at)
  string(SUBSTRING "${entry}" 0 ${at} name)
  math(EXPR at "${at} + 1")
  string(SUBSTRING "${entry}" ${at} -1 path)
  file(READ ${path} text)
  string(REGEX REPLACE "\n+$" "" text "${text}")
  # Each line indented by one blank; an empty line becomes " ." as the format wants.
  string(REPLACE "\n" "\n " text "${text}")
  while(text MATCHES "\n \n")
    string(REPLACE "\n \n" "\n .\n" text "${text}")
  endwhile()
  string(APPEND out "\nLicense: ${name}\n ${text}\n")
endforeach()
file(WRITE ${OUT}.new "${out}")
file(RENAME ${OUT}.new ${OUT})
