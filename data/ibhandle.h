#pragma once
// The client library's handle of a connection, transaction or statement, named here so that
// headers of the data layer need not include the client library's own header.

using IbHandle = unsigned int;
