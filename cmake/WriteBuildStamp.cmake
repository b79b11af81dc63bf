# Writes OUTPUT: the date and time of the build for the version resource.
# With SOURCE_DATE_EPOCH set (scripts/package sets it to the commit's time)
# the stamp is that moment in UTC, so that two builds of one commit are the
# same byte for byte; otherwise it is the local time now.
if(DEFINED ENV{SOURCE_DATE_EPOCH})
  string(TIMESTAMP stamp "%Y-%m-%d %H:%M:%S" UTC)
else()
  string(TIMESTAMP stamp "%Y-%m-%d %H:%M:%S")
endif()
file(WRITE ${OUTPUT} "#define MARIVEX_BUILD_STAMP \"${stamp}\"\n")
