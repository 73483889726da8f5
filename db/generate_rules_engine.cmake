# Writes the rules engine script from its template and the list of statistic
# columns, so that the counters are named in one place:
#   cmake -DTEMPLATE=R_rules_engine.sql.in -DCOLUMNS=statistic_columns.txt
#         -DOUTPUT=R_rules_engine.sql -P generate_rules_engine.cmake
# A placeholder stands first on its line; it becomes one line per column, in
# the order of the list, with the placeholder's indentation, separated by
# commas. For the column P1OK with code 1:
#   @COLUMN_NAMES@  P1OK
#   @COLUMN_ADDS@   P1OK = P1OK + iif(:C1 = 1 or :C2 = 1, :N, 0)
#   @COLUMN_SUMS@   sum(iif(C1 = 1 or C2 = 1, 1, 0))

file(STRINGS "${COLUMNS}" lines REGEX "^[^#]")
foreach(line IN LISTS lines)
  if(NOT line MATCHES "^([A-Z][A-Z0-9_]*) +([0-9]+)$")
    message(FATAL_ERROR "${COLUMNS}: not a column name and code: '${line}'")
  endif()
  list(APPEND COLUMN_NAMES "${CMAKE_MATCH_1}")
  list(APPEND COLUMN_ADDS "${CMAKE_MATCH_1} = ${CMAKE_MATCH_1} + iif(:C1 = ${CMAKE_MATCH_2} or :C2 = ${CMAKE_MATCH_2}, :N, 0)")
  list(APPEND COLUMN_SUMS "sum(iif(C1 = ${CMAKE_MATCH_2} or C2 = ${CMAKE_MATCH_2}, 1, 0))")
endforeach()

file(READ "${TEMPLATE}" text)
foreach(placeholder COLUMN_NAMES COLUMN_ADDS COLUMN_SUMS)
  # \1 is the placeholder's indentation, repeated before every item.
  list(JOIN ${placeholder} ",\n\\1" items)
  string(REGEX REPLACE "\n( *)@${placeholder}@" "\n\\1${items}" text "${text}")
endforeach()
if(text MATCHES "@[A-Z_]+@")
  message(FATAL_ERROR "${TEMPLATE}: unknown placeholder ${CMAKE_MATCH_0}")
endif()
file(WRITE "${OUTPUT}" "${text}")
