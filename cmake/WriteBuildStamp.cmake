# Writes OUTPUT: the build's date and time and the machine it ran on.
string(TIMESTAMP stamp "%Y-%m-%d %H:%M:%S")
cmake_host_system_information(RESULT machine QUERY HOSTNAME)
file(WRITE ${OUTPUT}
  "#define MARIVEX_BUILD_STAMP \"${stamp}\"\n"
  "#define MARIVEX_BUILD_MACHINE \"${machine}\"\n")
