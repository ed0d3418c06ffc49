{ Converts a component stream between its binary and its text form with the Free Pascal
  classes unit: streamconv totext|tobinary <input> <output>. }
program streamconv;

{$mode objfpc}{$H+}

uses
  Classes, SysUtils;

var
  Source, Dest: TFileStream;
begin
  if ParamCount <> 3 then
  begin
    WriteLn('usage: streamconv totext|tobinary <input> <output>');
    Halt(2);
  end;
  Source := TFileStream.Create(ParamStr(2), fmOpenRead);
  try
    Dest := TFileStream.Create(ParamStr(3), fmCreate);
    try
      if ParamStr(1) = 'totext' then
        ObjectBinaryToText(Source, Dest)
      else
        ObjectTextToBinary(Source, Dest);
    finally
      Dest.Free;
    end;
  finally
    Source.Free;
  end;
end.
